#pragma once
// Fresh files and directories in the temporary area ($TMPDIR or /tmp on POSIX,
// the user's temporary folder on Windows), under names no other process holds.

#include <string>

namespace platform {

/// Makes an empty directory named `prefix` plus a unique suffix and answers its
/// path. Throws std::system_error when none can be made.
std::string MakeTemporaryDirectory(const std::string& prefix);

/// Makes an empty file named `prefix` plus a unique suffix, closed, and answers
/// its path. Throws std::system_error when none can be made.
std::string MakeTemporaryFile(const std::string& prefix);

} // namespace platform

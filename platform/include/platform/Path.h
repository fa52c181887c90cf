#pragma once
// Paths at the file-system boundary. Configuration files and their templates write
// paths with '\'; on POSIX they are turned into '/' just before a file is opened.

#include <string>

namespace platform {

#if defined(_WIN32)
constexpr char kNativePathSeparator = '\\';
#else
constexpr char kNativePathSeparator = '/';
#endif

/// `path` with every '\' and '/' replaced by the native separator.
std::string ToNativePath(const std::string& path);

} // namespace platform

#pragma once
// Whole-buffer reads and writes on file descriptors.

#include <cstddef>
#include <string>
#include <system_error>

namespace platform {
namespace posix {

struct WriteOutcome {
    size_t written = 0;
    bool complete = false;
    std::error_code error;
};

/// Writes until all of `data` is written, or the descriptor accepts nothing more
/// (a zero write, a full non-blocking stream, an error). Interrupted writes resume.
WriteOutcome WriteAll(int fd, const char* data, size_t size);

/// Reads `fd` to its end into `out`. Fails with EFBIG beyond `limit` bytes.
std::error_code ReadAll(int fd, std::string* out, size_t limit);

} // namespace posix
} // namespace platform

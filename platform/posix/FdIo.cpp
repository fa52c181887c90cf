#include "FdIo.h"

#include <cerrno>
#include <unistd.h>

namespace platform {
namespace posix {

WriteOutcome WriteAll(int fd, const char* data, size_t size) {
    WriteOutcome outcome;
    while (outcome.written < size) {
        ssize_t n = ::write(fd, data + outcome.written, size - outcome.written);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            outcome.error = std::error_code(errno, std::system_category());
            return outcome;
        }
        if (n == 0)
            return outcome;
        outcome.written += static_cast<size_t>(n);
    }
    outcome.complete = true;
    return outcome;
}

std::error_code ReadAll(int fd, std::string* out, size_t limit) {
    out->clear();
    char chunk[16384];
    for (;;) {
        ssize_t n = ::read(fd, chunk, sizeof chunk);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return std::error_code(errno, std::system_category());
        if (n == 0)
            return {};
        if (out->size() + static_cast<size_t>(n) > limit)
            return std::error_code(EFBIG, std::system_category());
        out->append(chunk, static_cast<size_t>(n));
    }
}

} // namespace posix
} // namespace platform

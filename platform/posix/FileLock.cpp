#include "FileLock.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>

namespace platform {
namespace posix {

FileLock FileLock::Acquire(const std::string& path, std::error_code* error) {
    UniqueFd fd(::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644));
    if (!fd) {
        *error = std::error_code(errno, std::system_category());
        return FileLock();
    }
    while (::flock(fd.get(), LOCK_EX) != 0) {
        if (errno != EINTR) {
            *error = std::error_code(errno, std::system_category());
            return FileLock();
        }
    }
    error->clear();
    return FileLock(std::move(fd));
}

} // namespace posix
} // namespace platform

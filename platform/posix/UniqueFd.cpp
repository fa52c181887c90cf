#include "UniqueFd.h"

#include <unistd.h>

namespace platform {
namespace posix {

void UniqueFd::reset(int fd) {
    if (fd_ >= 0 && fd_ != fd)
        ::close(fd_); // after close() the descriptor is gone even on EINTR: never retry
    fd_ = fd;
}

} // namespace posix
} // namespace platform

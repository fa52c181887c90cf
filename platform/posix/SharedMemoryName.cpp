#include "SharedMemoryName.h"

#include <climits>

namespace platform {
namespace posix {

std::string SharedMemoryNameProblem(const std::string& name) {
    if (name.empty())
        return "empty shared memory name";
    if (name.find('/') != std::string::npos || name.find('\0') != std::string::npos)
        return "shared memory name '" + name + "' contains '/' or a zero byte";
    if (name.size() > NAME_MAX - 1) // shm_open adds a leading '/'
        return "shared memory name '" + name + "' is too long";
    return std::string();
}

} // namespace posix
} // namespace platform

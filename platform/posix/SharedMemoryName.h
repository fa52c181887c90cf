#pragma once
// Checks a block name before it reaches Boost.Interprocess, which on Linux hands it
// to shm_open: '\' is an ordinary file-name character there, '/' is refused.

#include <string>

namespace platform {
namespace posix {

/// Empty when `name` is usable, else why not.
std::string SharedMemoryNameProblem(const std::string& name);

} // namespace posix
} // namespace platform

#pragma once
// getenv/setenv are not safe against each other; every access from this library
// takes this one lock. Code outside it that changes the environment is not covered.

#include <mutex>

namespace platform {
namespace posix {

std::mutex& EnvironmentLock();

} // namespace posix
} // namespace platform

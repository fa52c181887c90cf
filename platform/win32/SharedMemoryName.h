#pragma once
// Named file mappings. A block's name is the kernel object's: "Global\name" is in
// the namespace that services in session 0 share with every user session, a bare
// name in the session's own, so the two are different blocks, as on POSIX.

#include <string>
#include <vector>

namespace platform {
namespace win32 {

/// Empty when `name` is usable as a block name, else why not.
std::string SharedMemoryNameProblem(const std::string& name);

/// The kernel object names to try for a block, in order.
std::vector<std::string> SharedMemoryObjectNames(const std::string& name);

} // namespace win32
} // namespace platform

#pragma once
// Named file mappings: a block is looked for in the global namespace first, which
// services in session 0 share with every user session, then in the session's own.

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

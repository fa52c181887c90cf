#include "WindowsApi.h"

#include "SharedMemoryName.h"

namespace platform {
namespace win32 {

std::string SharedMemoryNameProblem(const std::string& name) {
    if (name.empty())
        return "empty shared memory name";
    // A back slash would pick another kernel namespace than the one we add.
    if (name.find('\\') != std::string::npos || name.find('\0') != std::string::npos)
        return "shared memory name '" + name + "' contains '\\' or a zero byte";
    if (name.size() > MAX_PATH - 8) // room for "Global\"
        return "shared memory name '" + name + "' is too long";
    return std::string();
}

std::vector<std::string> SharedMemoryObjectNames(const std::string& name) {
    return {"Global\\" + name, name};
}

} // namespace win32
} // namespace platform

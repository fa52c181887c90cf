#include "WindowsApi.h"

#include "SharedMemoryName.h"

namespace platform {
namespace win32 {
namespace {

/// The name without its kernel namespace ("Global\" or "Local\"), if it has one.
std::string WithoutNamespace(const std::string& name) {
    for (const char* prefix : {"Global\\", "Local\\"}) {
        const std::string text = prefix;
        if (name.compare(0, text.size(), text) == 0)
            return name.substr(text.size());
    }
    return name;
}

} // namespace

std::string SharedMemoryNameProblem(const std::string& name) {
    const std::string bare = WithoutNamespace(name);
    if (bare.empty())
        return "empty shared memory name";
    // Any other back slash would name a namespace the kernel does not have.
    if (bare.find('\\') != std::string::npos || bare.find('\0') != std::string::npos)
        return "shared memory name '" + name + "' contains '\\' or a zero byte";
    if (name.size() > MAX_PATH)
        return "shared memory name '" + name + "' is too long";
    return std::string();
}

std::vector<std::string> SharedMemoryObjectNames(const std::string& name) {
    return {name};
}

} // namespace win32
} // namespace platform

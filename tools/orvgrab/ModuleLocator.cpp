#include "ModuleLocator.h"

#include "ToolError.h"

#include <platform/Process.h>

#include <filesystem>

namespace fs = std::filesystem;

namespace {

bool IsFile(const fs::path& path) {
    std::error_code error;
    return fs::is_regular_file(path, error);
}

std::string Absolute(const fs::path& path) {
    std::error_code error;
    const fs::path absolute = fs::absolute(path, error);
    return (error ? path : absolute.lexically_normal()).string();
}

} // namespace

std::string ModuleLocator::FindModule(const std::optional<std::string>& given) {
    if (given) {
        if (!IsFile(*given))
            throw ToolError("no driver module at " + *given);
        return Absolute(*given);
    }
    const fs::path programDirectory = fs::path(platform::ExecutablePath()).parent_path();
    for (const fs::path& candidate :
         {programDirectory / kModuleName, programDirectory / ".." / "lib" / kModuleName}) {
        if (IsFile(candidate))
            return Absolute(candidate);
    }
    throw ToolError(std::string("no ") + kModuleName + " next to orvgrab (" +
                    programDirectory.string() + ") or in ../lib; give --module PATH");
}

std::optional<std::string> ModuleLocator::FindGenICamLibrary(const std::string& modulePath) {
    const fs::path library = fs::path(modulePath).parent_path() / kGenICamName;
    if (!IsFile(library))
        return std::nullopt;
    return Absolute(library);
}

#include "ModuleLocator.h"

#include "ToolError.h"

#include <platform/Process.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>

#include <sys/stat.h>

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

/// Why `path` cannot be a module: the system's reason, or what the file is.
std::string Refusal(const std::string& path) {
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0)
        return "no driver module at " + path + ": " + std::strerror(errno);
    if (S_ISDIR(status.st_mode))
        return "no driver module at " + path + ": it is a directory";
    if (!S_ISREG(status.st_mode))
        return path + " is not a driver module: not a regular file";
    std::ifstream in(path, std::ios::binary);
    char magic[4] = {};
    if (!in.read(magic, sizeof magic))
        return in.is_open() ? path + " is not a driver module: too short for a shared library"
                            : "cannot read the driver module " + path + ": " + std::strerror(errno);
    if (std::memcmp(magic,
                    "\x7f"
                    "ELF",
                    4) != 0)
        return path + " is not a driver module: not a shared library";
    return {};
}

} // namespace

std::string ModuleLocator::FindModule(const std::optional<std::string>& given) {
    if (given) {
        const std::string refusal = Refusal(*given);
        if (!refusal.empty())
            throw ToolError(refusal);
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

#include <platform/TemporaryFiles.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <system_error>

#include <unistd.h>

namespace platform {
namespace {

std::string Pattern(const std::string& prefix) {
    return (std::filesystem::temp_directory_path() / (prefix + "-XXXXXX")).string();
}

} // namespace

std::string MakeTemporaryDirectory(const std::string& prefix) {
    std::string path = Pattern(prefix);
    if (::mkdtemp(path.data()) == nullptr)
        throw std::system_error(errno, std::generic_category(), "mkdtemp " + path);
    return path;
}

std::string MakeTemporaryFile(const std::string& prefix) {
    std::string path = Pattern(prefix);
    const int descriptor = ::mkstemp(path.data());
    if (descriptor < 0)
        throw std::system_error(errno, std::generic_category(), "mkstemp " + path);
    ::close(descriptor);
    return path;
}

} // namespace platform

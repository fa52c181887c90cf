#include "support/TempDir.h"

#include <platform/TemporaryFiles.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <system_error>

namespace fs = std::filesystem;

namespace orvtest {

TempDir::TempDir(const std::string& prefix) {
    // A name nobody else holds, whatever else runs at the same time.
    path_ = platform::MakeTemporaryDirectory(prefix);
}

TempDir::~TempDir() {
    std::error_code ignored;
    fs::remove_all(path_, ignored);
}

std::string TempDir::Write(const std::string& name, const std::string& text) const {
    const std::string path = File(name);
    fs::create_directories(fs::path(path).parent_path());
    WriteFileText(path, text);
    return path;
}

std::string ReadFileText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::string ReadWrittenText(const std::string& path) {
    std::string text = ReadFileText(path);
    std::string::size_type at = 0;
    while ((at = text.find("\r\n", at)) != std::string::npos)
        text.erase(at, 1);
    return text;
}

void WriteFileText(const std::string& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
    out.close();
    if (!out)
        throw std::runtime_error("cannot write " + path);
}

} // namespace orvtest

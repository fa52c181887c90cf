#include "TargetTestSupport.h"

#include <boost/filesystem.hpp>

#include <fstream>
#include <sstream>

namespace targettest {

ScratchDirectory::ScratchDirectory() {
    const boost::filesystem::path path = boost::filesystem::temp_directory_path() /
                                         boost::filesystem::unique_path("nwlogging-%%%%-%%%%-%%%%");
    boost::filesystem::create_directories(path);
    path_ = path.string();
}

ScratchDirectory::~ScratchDirectory() {
    boost::system::error_code ignored;
    boost::filesystem::remove_all(path_, ignored);
}

std::string ReadFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

void WriteFile(const std::string& path, const std::string& text) {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file << text;
}

} // namespace targettest

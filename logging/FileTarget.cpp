#include <nwLogging/FileTarget.h>

#include <platform/Path.h>

#include <stdexcept>

namespace nwLogging {

void basic_file_target::file_closer::operator()(std::FILE* file) const {
    std::fclose(file);
}

basic_file_target::basic_file_target(const std::string& path)
    : path_(path), file_(std::fopen(platform::ToNativePath(path).c_str(), "ab")) {
    if (!file_)
        throw std::runtime_error("Error opening file: " + path);
    line_.reserve(256);
}

void basic_file_target::do_write(const basic_timed_msgstate& record, const std::string& text) {
    line_.clear();
    append_line(line_, record, text);
    line_ += '\n';
    // One write of the whole line, then the flush that hands it to the system.
    const std::size_t written = std::fwrite(line_.data(), 1, line_.size(), file_.get());
    const bool flushed = std::fflush(file_.get()) == 0;
    if (written != line_.size() || !flushed) {
        std::clearerr(file_.get()); // a full disk may have room for the next line
        throw std::runtime_error("Error writing file: " + path_);
    }
}

} // namespace nwLogging

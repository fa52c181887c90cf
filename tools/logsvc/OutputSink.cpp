#include "OutputSink.h"

#include <cerrno>
#include <cstring>
#include <stdexcept>

namespace logsvc {

void OutputSink::Closer::operator()(std::FILE* file) const {
    std::fclose(file);
}

void OutputSink::Open() {
    if (path_.empty() || file_)
        return;
    file_.reset(std::fopen(path_.c_str(), "ab"));
    if (!file_)
        throw std::runtime_error("cannot open output file " + path_ + ": " + std::strerror(errno));
}

void OutputSink::WriteLine(const std::string& line) {
    std::lock_guard<std::mutex> guard(mutex_);
    std::FILE* out = file_ ? file_.get() : stdout;
    std::fwrite(line.data(), 1, line.size(), out);
    std::fputc('\n', out);
    std::fflush(out);
}

} // namespace logsvc

#include <nwLogging/StdoutTarget.h>

#include <cstdio>
#include <mutex>

namespace nwLogging {

namespace {

// Constant-initialized and trivially destroyed: usable from any destructor at
// exit, and nothing is left behind when the module is unloaded.
std::mutex streams_lock;

std::mutex& standard_streams_lock() {
    return streams_lock;
}

} // namespace

basic_stdout_target::basic_stdout_target(stream which) : which_(which) {}

void basic_stdout_target::do_write(const basic_timed_msgstate& record, const std::string& text) {
    line_.clear();
    append_line(line_, record, text);
    line_ += '\n';
    std::FILE* out = which_ == stream::standard_error ? stderr : stdout;
    std::lock_guard<std::mutex> guard(standard_streams_lock());
    std::fwrite(line_.data(), 1, line_.size(), out);
    std::fflush(out);
}

} // namespace nwLogging

#include <nwLogging/StdoutTarget.h>

#include <cstdio>
#include <mutex>

namespace nwLogging {

namespace {

std::mutex& standard_streams_lock() {
    // Never destroyed: objects destroyed at exit may still log.
    static std::mutex* const lock = new std::mutex;
    return *lock;
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

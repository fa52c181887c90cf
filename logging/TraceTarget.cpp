#include <nwLogging/TraceTarget.h>

#include <platform/DebugOutput.h>

namespace nwLogging {

void basic_trace_target::do_write(const basic_timed_msgstate& record, const std::string& text) {
    line_.clear();
    append_line(line_, record, text);
    platform::OutputDebugText(line_);
    platform::OutputDebugText("\n");
}

} // namespace nwLogging

#pragma once
// Passes each record's line to the debugger output.

#include <nwLogging/Target.h>

#include <string>

namespace nwLogging {

class basic_trace_target : public basic_target {
protected:
    /// The line, then a second call with a single line feed.
    void do_write(const basic_timed_msgstate& record, const std::string& text) override;

private:
    std::string line_; // guarded by the base's mutex
};

} // namespace nwLogging

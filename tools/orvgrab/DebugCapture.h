#pragma once
// The module's debugger output during an orvgrab run (ORV_DEBUG_OUTPUT_FILE): a
// file the sandbox or the user named, else a temporary one of orvgrab's own, so
// that what the module says there can be shown when it explains a failure, and
// its log set-up note only when asked for.

#include <string>

/// Construct before the module is loaded; host thread only.
class DebugCapture {
public:
    DebugCapture();
    ~DebugCapture();
    DebugCapture(const DebugCapture&) = delete;
    DebugCapture& operator=(const DebugCapture&) = delete;

    /// What the module wrote since construction.
    std::string Text() const;
    /// The first thing it said besides its log set-up note ("Failed to retrieve/
    /// decode the log configuration ..."), which every run without a log service
    /// has; empty when there is none.
    std::string FirstCause() const;

private:
    std::string path_;
    long long start_ = 0;
    bool own_ = false;
};

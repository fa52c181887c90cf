#pragma once
// Runs a program to completion as a child process, with its standard output and
// error captured, its environment inherited with the given changes.

#include "support/ChildProcess.h"
#include "support/TempDir.h"

#include <platform/StopRequests.h>

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace toolstest {

using Environment = std::map<std::string, std::optional<std::string>>;

struct ToolResult {
    /// The exit status; -1 when the program did not start or did not exit by itself.
    int status = -1;
    std::string out;
    std::string err;
};

/// A program started as a child process, its output captured in files that can be
/// looked at while it runs. Killed if still running on destruction.
class ToolProcess {
public:
    /// `environment`: a value sets the variable for the child, nothing unsets it.
    ToolProcess(const std::vector<std::string>& argv, const Environment& environment = {});
    ToolProcess(const ToolProcess&) = delete;
    ToolProcess& operator=(const ToolProcess&) = delete;

    /// Polls the standard output until it holds `needle` or the child ended; false
    /// after a generous bound, or when the child ended without printing it.
    bool WaitForOutput(const std::string& needle);
    /// Asks the program to stop as Ctrl-C or a termination request does.
    void RequestStop(platform::StopKind kind);
    /// Waits for the end (killed after a generous bound) and collects the result.
    ToolResult Wait();

private:
    const orvtest::TempDir captures_{"orvtool-capture"};
    orvtest::ChildProcess child_;
};

/// `environment`: a value sets the variable for the child, nothing unsets it.
ToolResult RunTool(const std::vector<std::string>& argv, const Environment& environment = {});

/// The lines of `text` without their line ends ("\n" or "\r\n").
std::vector<std::string> Lines(const std::string& text);
/// The text after "key: " on the first line that starts so; nothing when none does.
std::optional<std::string> Field(const std::string& text, const std::string& key);

} // namespace toolstest

#pragma once
// Runs a program to completion as a child process, with its standard output and
// error captured, its environment inherited with the given changes.

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace toolstest {

struct ToolResult {
    /// The exit status; -1 when the program did not start or did not exit normally.
    int status = -1;
    std::string out;
    std::string err;
};

/// A program started as a child process, its output captured in files that can be
/// looked at while it runs. Killed and reaped on destruction if still running.
class ToolProcess {
public:
    /// `environment`: a value sets the variable for the child, nothing unsets it.
    ToolProcess(const std::vector<std::string>& argv,
                const std::map<std::string, std::optional<std::string>>& environment = {});
    ~ToolProcess();
    ToolProcess(const ToolProcess&) = delete;
    ToolProcess& operator=(const ToolProcess&) = delete;

    /// Polls the standard output until it holds `needle` or the child ended; false
    /// after a generous bound, or when the child ended without printing it.
    bool WaitForOutput(const std::string& needle) const;
    void Signal(int signal) const;
    /// Waits for the end (killed after a generous bound) and collects the result.
    ToolResult Wait();

private:
    class CaptureFile;
    std::unique_ptr<CaptureFile> out_, err_;
    int pid_ = -1;
    std::string startError_;
};

/// `environment`: a value sets the variable for the child, nothing unsets it.
ToolResult RunTool(const std::vector<std::string>& argv,
                   const std::map<std::string, std::optional<std::string>>& environment = {});

/// The lines of `text` without their line ends.
std::vector<std::string> Lines(const std::string& text);
/// The text after "key: " on the first line that starts so; nothing when none does.
std::optional<std::string> Field(const std::string& text, const std::string& key);

} // namespace toolstest

#pragma once
// Runs a program to completion as a child process, with its standard output and
// error captured, its environment inherited with the given changes.

#include <map>
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

/// `environment`: a value sets the variable for the child, nothing unsets it.
ToolResult RunTool(const std::vector<std::string>& argv,
                   const std::map<std::string, std::optional<std::string>>& environment = {});

/// The lines of `text` without their line ends.
std::vector<std::string> Lines(const std::string& text);
/// The text after "key: " on the first line that starts so; nothing when none does.
std::optional<std::string> Field(const std::string& text, const std::string& key);

} // namespace toolstest

#include "tools/ToolRun.h"

#include <chrono>
#include <sstream>
#include <thread>

namespace toolstest {

namespace {

orvtest::ChildSetup Setup(const orvtest::TempDir& captures, const std::vector<std::string>& argv,
                          const Environment& environment) {
    orvtest::ChildSetup setup;
    setup.argv = argv;
    setup.outputPath = captures.File("out");
    setup.errorPath = captures.File("err");
    setup.environment = environment;
    return setup;
}

} // namespace

ToolProcess::ToolProcess(const std::vector<std::string>& argv, const Environment& environment)
    : child_(Setup(captures_, argv, environment)) {}

bool ToolProcess::WaitForOutput(const std::string& needle) {
    const auto deadline = std::chrono::steady_clock::now() + orvtest::kChildBound;
    auto printed = [&] {
        return orvtest::ReadFileText(captures_.File("out")).find(needle) != std::string::npos;
    };
    while (!printed()) {
        if (child_.Ended() || std::chrono::steady_clock::now() > deadline)
            return printed();
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return true;
}

void ToolProcess::RequestStop(platform::StopKind kind) {
    child_.RequestStop(kind);
}

ToolResult ToolProcess::Wait() {
    ToolResult result;
    result.status = child_.Wait();
    result.out = orvtest::ReadWrittenText(captures_.File("out"));
    result.err = child_.StartError().empty() ? orvtest::ReadWrittenText(captures_.File("err"))
                                             : child_.StartError();
    return result;
}

ToolResult RunTool(const std::vector<std::string>& argv, const Environment& environment) {
    return ToolProcess(argv, environment).Wait();
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

std::optional<std::string> Field(const std::string& text, const std::string& key) {
    for (const std::string& line : Lines(text))
        if (line.rfind(key + ": ", 0) == 0)
            return line.substr(key.size() + 2);
    return std::nullopt;
}

} // namespace toolstest

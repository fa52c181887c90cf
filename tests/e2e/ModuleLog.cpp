#include "e2e/ModuleLog.h"

#include "LogService.h"

#include <nwLogging/ConnectionInfo.h>

#include <fstream>
#include <sstream>

namespace e2e {
namespace {

/// `text` inside a JSON string: Windows paths hold back slashes.
std::string JsonEscaped(const std::string& text) {
    std::string escaped;
    for (const char c : text) {
        if (c == '\\' || c == '"')
            escaped += '\\';
        escaped += c;
    }
    return escaped;
}

} // namespace

ModuleLog::ModuleLog() {
    configPath_ = directory_.File("logsvc.json");
    logPath_ = directory_.File("module.log");
    std::ofstream(configPath_) << R"({"GDRVM": {"destination": "file", "level": "debug", "file": ")"
                               << JsonEscaped(logPath_) << "\"}}";
    logsvc::ServiceOptions options;
    options.configFile = configPath_;
    options.outputFile = directory_.File("records.txt");
    options.blockName = std::string(nwLogging::global_block_prefix) + nwLogging::block_name();
    options.replaceBlock = true;
    service_ = std::make_unique<logsvc::LogService>(options);
    thread_ = std::thread([this] { service_->Run([this] { return stop_.load(); }); });
}

ModuleLog::~ModuleLog() {
    stop_ = true;
    thread_.join();
    service_.reset();
}

std::string ModuleLog::Text() const {
    std::ifstream file(logPath_);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

std::string ModuleLog::TakeNew() {
    const std::string all = Text();
    const std::size_t from = taken_ < all.size() ? taken_ : all.size();
    taken_ = all.size();
    return all.substr(from);
}

bool HasLine(const std::string& log, const std::string& level, const std::string& text) {
    const std::string ending = "[" + level + "] " + text;
    std::istringstream lines(log);
    std::string line;
    while (std::getline(lines, line)) {
        if (line.size() >= ending.size() &&
            line.compare(line.size() - ending.size(), ending.size(), ending) == 0)
            return true;
    }
    return false;
}

} // namespace e2e

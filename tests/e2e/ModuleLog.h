#pragma once
// The module's log lines, as a host's log service would have them written: a log
// service on a thread of the test program, publishing the test group's private
// block, configures the module to write every record at level debug to a file.
// Make it before the module's first call (GetImageV2): the module asks for its
// configuration once, then. Tests that use it hold the "logsvc" resource lock.

#include "support/TempDir.h"

#include <atomic>
#include <memory>
#include <string>
#include <thread>

namespace logsvc {
class LogService;
}

namespace e2e {

class ModuleLog {
public:
    ModuleLog();
    ~ModuleLog();
    ModuleLog(const ModuleLog&) = delete;
    ModuleLog& operator=(const ModuleLog&) = delete;

    const std::string& Path() const { return logPath_; }
    /// Everything the module wrote so far.
    std::string Text() const;
    /// Lines written since the last call (or since the start), for checks of
    /// what one step logged.
    std::string TakeNew();

private:
    const orvtest::TempDir directory_{"orv-e2e-log"};
    std::string configPath_;
    std::string logPath_;
    std::size_t taken_ = 0;
    std::atomic<bool> stop_{false};
    std::unique_ptr<logsvc::LogService> service_;
    std::thread thread_;
};

/// Whether `log` has a line that ends with "[<level>] " + `text`: the record's
/// level and its whole text, after the time stamp and the logger's name.
bool HasLine(const std::string& log, const std::string& level, const std::string& text);

} // namespace e2e

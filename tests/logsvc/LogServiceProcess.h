#pragma once
// Runs orvlogsvc for a test: a scratch directory with its configuration file,
// its output and error files, started with a ready file and stopped (a
// termination request) on destruction. The service publishes the test's private shared-memory block
// (see GlobalBlockName); programs using this still take the CTest resource lock
// "logsvc", since the tests of one program share that block.

#include "support/ChildProcess.h"
#include "support/TempDir.h"

#include <nwLogging/Endpoint.h>

#include <platform/StopRequests.h>

#include <chrono>
#include <memory>
#include <string>
#include <vector>

namespace logsvctest {

constexpr std::chrono::seconds kBound{30};

/// A short pause between two looks at a condition.
void PollPause();

/// Polls `condition` every few milliseconds until it holds or `bound` passed.
template <class F> bool WaitFor(F&& condition, std::chrono::milliseconds bound = kBound);

/// The result of a run to completion.
struct Completed {
    int status = -1; // exit status, -1 when killed
    std::string out;
    std::string err;
};

class LogServiceProcess {
public:
    /// Writes `configJson` (none when empty: the service's built-in set) and
    /// starts the service; `extra` arguments are appended.
    explicit LogServiceProcess(const std::string& configJson,
                               const std::vector<std::string>& extra = {});
    struct ClosedPipeOutput {};
    /// As above, but the service writes its records to standard output, a pipe
    /// whose reader is gone.
    LogServiceProcess(const std::string& configJson, ClosedPipeOutput);
    ~LogServiceProcess();
    LogServiceProcess(const LogServiceProcess&) = delete;
    LogServiceProcess& operator=(const LogServiceProcess&) = delete;

    /// True once the ready file appeared (waited for in the constructor).
    bool Ready() const { return ready_; }
    nwLogging::endpoint Command() const { return command_; }
    nwLogging::endpoint Records() const { return records_; }
    uint32_t Pid() const { return child_ ? child_->Id() : 0; }
    const std::string& Directory() const { return directory_; }
    std::string ConfigPath() const { return directory_ + "/config.json"; }
    std::string ReadyPath() const { return directory_ + "/ready"; }

    /// Replaces the configuration file (the service reads it per request).
    void WriteConfig(const std::string& json) const;

    std::string Output() const;
    std::string Errors() const;
    /// Waits until the record output / the service's own messages contain `needle`.
    bool WaitForOutput(const std::string& needle) const;
    bool WaitForErrors(const std::string& needle) const;

    /// Asks the service to stop and waits for the exit; the exit status, -1 when
    /// it had to be killed.
    int Stop(platform::StopKind kind);
    /// Kills without letting the service clean up, as a crash would.
    void Crash();

private:
    void Start(const std::string& configJson, const std::vector<std::string>& extra,
               bool closedPipeOutput);
    /// The endpoints from the ready file; false until both are there.
    bool ReadEndpoints();

    const orvtest::TempDir scratch_{"orvlogsvc-test"}; // removed once the service stopped
    const std::string directory_ = scratch_.path();
    std::unique_ptr<orvtest::ChildProcess> child_; // while it runs
    bool ready_ = false;
    nwLogging::endpoint command_;
    nwLogging::endpoint records_;
};

/// Runs orvlogsvc with `arguments` to its end (bounded; killed after the bound).
Completed RunService(const std::vector<std::string>& arguments);

std::string ReadText(const std::string& path);
void WriteText(const std::string& path, const std::string& text);
/// True when a shared-memory block of that name exists.
bool BlockExists(const std::string& name);
/// "Global\\" + the block's name: the test's private one (NWLOG_TEST_BLOCK_NAME),
/// which every service the fixture starts publishes.
std::string GlobalBlockName();

template <class F> bool WaitFor(F&& condition, std::chrono::milliseconds bound) {
    const auto deadline = std::chrono::steady_clock::now() + bound;
    while (!condition()) {
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        PollPause();
    }
    return true;
}

} // namespace logsvctest

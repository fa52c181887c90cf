#pragma once
// Ctrl-C and SIGTERM (on Windows, console control events and stop requests) for
// orvgrab: the first one asks the grab to stop (it then reports what it has,
// writes the last image and cleans up); a second one ends the process at once,
// after the given clean-up.

#include <platform/StopRequests.h>

#include <atomic>
#include <functional>
#include <thread>

/// Construct before anything starts a thread (the module does), so that every
/// thread inherits the blocked signals and only this object's thread takes them.
/// One per process.
class StopSignals {
public:
    StopSignals();
    ~StopSignals();
    StopSignals(const StopSignals&) = delete;
    StopSignals& operator=(const StopSignals&) = delete;

    /// What a second signal does before the process ends (remove a temporary
    /// sandbox). Set it before the first signal may come.
    void SetLastResort(std::function<void()> cleanUp);
    /// 0, or the first signal that came.
    int Requested() const { return requested_.load(); }
    /// The exit status for a run ended by `signal`: 128 + its number, as shells report it.
    static int ExitStatus(int signal) { return 128 + signal; }
    /// "SIGINT" or "SIGTERM".
    static const char* Name(int signal);

private:
    void Watch();

    platform::StopRequests requests_; // first: it must exist before the watcher runs
    std::atomic<int> requested_{0};
    std::atomic<bool> closing_{false};
    std::function<void()> lastResort_;
    std::thread watcher_;
};

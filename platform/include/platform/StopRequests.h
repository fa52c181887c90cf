#pragma once
// Requests to stop a program that runs until told otherwise (the log service, a
// long grab): Ctrl-C at its terminal or console, a termination request from the
// system or another process. POSIX delivers them as SIGINT and SIGTERM;
// Windows as console control events, and, for a process without a console (a
// service started by a test or a script, any process under a headless Wine), as
// the process's named stop events, which RequestStop sets.

#include <chrono>
#include <csignal>
#include <cstdint>

namespace platform {

enum class StopKind {
    None,
    Interrupt, // Ctrl-C; SIGINT
    Terminate, // any other request to end; SIGTERM
};

/// Catches the stop requests of the process from construction on. Construct it
/// before the process starts any thread: on POSIX the signals are blocked in the
/// constructing thread, so threads started later inherit the mask and only Next()
/// takes them. One per process; the requests stay caught after destruction
/// (pending and harmless) so that a late one ends nothing half-way.
class StopRequests {
public:
    StopRequests();
    ~StopRequests();
    StopRequests(const StopRequests&) = delete;
    StopRequests& operator=(const StopRequests&) = delete;

    /// The next request, waiting at most `wait` for one; None when none came.
    StopKind Next(std::chrono::milliseconds wait);

    /// The conventional signal number of a kind (SIGINT, SIGTERM), 0 for None,
    /// for exit statuses and messages that shells and users know.
    static int SignalNumber(StopKind kind) {
        return kind == StopKind::Interrupt ? SIGINT : kind == StopKind::Terminate ? SIGTERM : 0;
    }

    struct Events; // Windows: the process's stop events; none on POSIX

private:
    Events* events_ = nullptr;
};

/// Asks process `processId`, one that watches StopRequests, to stop: SIGINT or
/// SIGTERM on POSIX, its stop event of that kind on Windows. False when the
/// process is gone or does not watch (Windows) or the request was refused.
bool RequestStop(uint32_t processId, StopKind kind);

} // namespace platform

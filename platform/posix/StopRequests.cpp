#include <platform/StopRequests.h>

#include <csignal>
#include <ctime>
#include <pthread.h>
#include <sys/types.h>

namespace platform {
namespace {

sigset_t StopSet() {
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, SIGINT);
    sigaddset(&set, SIGTERM);
    return set;
}

} // namespace

StopRequests::StopRequests() {
    const sigset_t set = StopSet();
    ::pthread_sigmask(SIG_BLOCK, &set, nullptr);
}

// The signals stay blocked: one that comes after the program's work is over stays
// pending and ends nothing.
StopRequests::~StopRequests() = default;

StopKind StopRequests::Next(std::chrono::milliseconds wait) {
    const sigset_t set = StopSet();
    const auto count = wait.count() < 0 ? 0 : wait.count();
    const timespec bound{static_cast<time_t>(count / 1000),
                         static_cast<long>(count % 1000) * 1000000L};
    const int signal = ::sigtimedwait(&set, nullptr, &bound);
    if (signal == SIGINT)
        return StopKind::Interrupt;
    if (signal == SIGTERM)
        return StopKind::Terminate;
    return StopKind::None;
}

bool RequestStop(uint32_t processId, StopKind kind) {
    const int signal = StopRequests::SignalNumber(kind);
    if (signal == 0 || processId == 0)
        return false;
    return ::kill(static_cast<pid_t>(processId), signal) == 0;
}

} // namespace platform

#ifdef _WIN32
// First, and lean: its macros would rename our functions.
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#endif

#include "StopSignals.h"

#include <chrono>
#include <condition_variable>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <mutex>

#ifndef _WIN32
#include <pthread.h>
#endif

namespace {

#ifdef _WIN32
// Windows has no signal mask: the console's control handler runs on a thread of
// its own and hands the event over as the signal a terminal would send.
std::mutex g_pendingLock;
std::condition_variable g_pendingChanged;
int g_pending = 0; // guarded by g_pendingLock

BOOL WINAPI OnConsoleControl(DWORD type) {
    const int signal = type == CTRL_C_EVENT ? SIGINT : SIGTERM;
    std::lock_guard<std::mutex> guard(g_pendingLock);
    if (g_pending == 0)
        g_pending = signal;
    g_pendingChanged.notify_all();
    return TRUE;
}

void CatchStopSignals() {
    ::SetConsoleCtrlHandler(OnConsoleControl, TRUE);
}

void ReleaseStopSignals() {
    ::SetConsoleCtrlHandler(OnConsoleControl, FALSE);
}

/// The next stop signal, or 0 after `poll` without one.
int NextStopSignal(std::chrono::milliseconds poll) {
    std::unique_lock<std::mutex> lock(g_pendingLock);
    g_pendingChanged.wait_for(lock, poll, [] { return g_pending != 0; });
    const int signal = g_pending;
    g_pending = 0;
    return signal;
}
#else
sigset_t StopSet() {
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, SIGINT);
    sigaddset(&set, SIGTERM);
    return set;
}

void CatchStopSignals() {
    const sigset_t set = StopSet();
    ::pthread_sigmask(SIG_BLOCK, &set, nullptr);
}

// A signal that came after the run is over needs no clean-up any more; it
// stays pending and ends nothing.
void ReleaseStopSignals() {}

/// The next stop signal, or 0 after `poll` without one.
int NextStopSignal(std::chrono::milliseconds poll) {
    const sigset_t set = StopSet();
    const timespec wait{0, static_cast<long>(poll.count()) * 1000 * 1000};
    const int signal = ::sigtimedwait(&set, nullptr, &wait);
    return signal > 0 ? signal : 0;
}
#endif

} // namespace

StopSignals::StopSignals() {
    CatchStopSignals();
    watcher_ = std::thread([this] { Watch(); });
}

StopSignals::~StopSignals() {
    closing_ = true;
    watcher_.join();
    ReleaseStopSignals();
}

void StopSignals::SetLastResort(std::function<void()> cleanUp) {
    lastResort_ = std::move(cleanUp);
}

const char* StopSignals::Name(int signal) {
    return signal == SIGINT ? "SIGINT" : signal == SIGTERM ? "SIGTERM" : "a signal";
}

void StopSignals::Watch() {
    // Polled, so that the destructor can end the thread without a signal of its own.
    while (!closing_) {
        const int signal = NextStopSignal(std::chrono::milliseconds(100));
        if (signal == 0)
            continue;
        int none = 0;
        if (requested_.compare_exchange_strong(none, signal))
            continue;
        if (lastResort_)
            lastResort_();
        std::fprintf(stderr, "orvgrab: stopped at once by a second %s\n", Name(signal));
        std::fflush(stderr);
        std::_Exit(ExitStatus(signal));
    }
}

#include "StopSignals.h"

#include <csignal>
#include <cstdio>
#include <ctime>

#include <pthread.h>
#include <unistd.h>

namespace {

sigset_t StopSet() {
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, SIGINT);
    sigaddset(&set, SIGTERM);
    return set;
}

} // namespace

StopSignals::StopSignals() {
    const sigset_t set = StopSet();
    ::pthread_sigmask(SIG_BLOCK, &set, nullptr);
    watcher_ = std::thread([this] { Watch(); });
}

StopSignals::~StopSignals() {
    closing_ = true;
    watcher_.join();
    // A signal that came after the run is over needs no clean-up any more; it
    // stays pending and ends nothing.
}

void StopSignals::SetLastResort(std::function<void()> cleanUp) {
    lastResort_ = std::move(cleanUp);
}

const char* StopSignals::Name(int signal) {
    return signal == SIGINT ? "SIGINT" : signal == SIGTERM ? "SIGTERM" : "a signal";
}

void StopSignals::Watch() {
    const sigset_t set = StopSet();
    // Polled, so that the destructor can end the thread without a signal of its own.
    const timespec poll{0, 100 * 1000 * 1000};
    while (!closing_) {
        const int signal = ::sigtimedwait(&set, nullptr, &poll);
        if (signal <= 0)
            continue;
        int none = 0;
        if (requested_.compare_exchange_strong(none, signal))
            continue;
        if (lastResort_)
            lastResort_();
        std::fprintf(stderr, "orvgrab: stopped at once by a second %s\n", Name(signal));
        std::fflush(stderr);
        ::_exit(ExitStatus(signal));
    }
}

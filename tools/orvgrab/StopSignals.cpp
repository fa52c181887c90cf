#include "StopSignals.h"

#include <platform/Process.h>

#include <chrono>
#include <csignal>
#include <cstdio>

StopSignals::StopSignals() : watcher_([this] { Watch(); }) {}

StopSignals::~StopSignals() {
    closing_ = true;
    watcher_.join();
}

void StopSignals::SetLastResort(std::function<void()> cleanUp) {
    lastResort_ = std::move(cleanUp);
}

const char* StopSignals::Name(int signal) {
    return signal == SIGINT ? "SIGINT" : signal == SIGTERM ? "SIGTERM" : "a signal";
}

void StopSignals::Watch() {
    // Polled, so that the destructor can end the thread without a request of its own.
    while (!closing_) {
        const int signal =
            platform::StopRequests::SignalNumber(requests_.Next(std::chrono::milliseconds(100)));
        if (signal == 0)
            continue;
        int none = 0;
        if (requested_.compare_exchange_strong(none, signal))
            continue;
        if (lastResort_)
            lastResort_();
        std::fprintf(stderr, "orvgrab: stopped at once by a second %s\n", Name(signal));
        std::fflush(stderr);
        platform::EndProcessNow(ExitStatus(signal));
    }
}

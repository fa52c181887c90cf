#pragma once
// Record datagrams the service could not decode, reported at most once a second
// so that a flood of bad datagrams does not become a flood of lines.

#include <chrono>
#include <cstdint>
#include <string>

namespace logsvc {

/// One thread only.
class DropCounter {
public:
    /// Counts one dropped datagram; `why` names its sender and the reason.
    void Add(std::string why);
    /// Passes one line to `note` when datagrams were dropped and a second has
    /// passed since the last line (or `now` is set).
    void Report(void (*note)(const std::string&), bool now = false);

private:
    using Clock = std::chrono::steady_clock;
    uint64_t pending_ = 0;
    std::string last_;
    Clock::time_point lastReport_{};
};

} // namespace logsvc

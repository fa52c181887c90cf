#include "DropCounter.h"

#include <utility>

namespace logsvc {

void DropCounter::Add(std::string why) {
    ++pending_;
    last_ = std::move(why);
}

void DropCounter::Report(void (*note)(const std::string&), bool now) {
    const Clock::time_point time = Clock::now();
    if (pending_ == 0 || (!now && time - lastReport_ < std::chrono::seconds(1)))
        return;
    note(pending_ == 1 ? "dropped a record datagram " + last_
                       : "dropped " + std::to_string(pending_) +
                             " record datagrams since the last report; the last " + last_);
    pending_ = 0;
    lastReport_ = time;
}

} // namespace logsvc

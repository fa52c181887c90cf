#include "FaultTable.h"

#include <algorithm>
#include <chrono>
#include <cstring>
#include <thread>

namespace sim {

namespace {

constexpr const char* Names[] = {
#define SIM_FUNCTION_NAME(name) #name,
    SIM_FUNCTION_LIST(SIM_FUNCTION_NAME)
#undef SIM_FUNCTION_NAME
};
static_assert(sizeof(Names) / sizeof(Names[0]) == SimFunctionCount);

} // namespace

thread_local FaultTable::ThreadCounts* threadCallCounts = nullptr;

bool FaultTable::Count(SimFunction function) {
    ThreadCounts* counts = threadCallCounts;
    return CountIn(counts != nullptr ? *counts : ThreadCounts::Mine(), function);
}

FaultTable& FaultTable::Instance() {
    // Never destroyed: threads that end after the static objects still fold their counts
    // into it.
    static FaultTable* table = new FaultTable();
    return *table;
}

FaultTable::ThreadCounts::ThreadCounts() {
    threadCallCounts = this;
    FaultTable& table = Instance();
    std::lock_guard<std::mutex> lock(table.countsMutex_);
    table.threads_.push_back(this);
}

FaultTable::ThreadCounts::~ThreadCounts() {
    threadCallCounts = nullptr;
    FaultTable& table = Instance();
    std::lock_guard<std::mutex> lock(table.countsMutex_);
    for (std::size_t i = 0; i < SimFunctionCount; ++i) {
        table.ended_[i] += counts[i].load(std::memory_order_relaxed);
    }
    table.threads_.erase(std::remove(table.threads_.begin(), table.threads_.end(), this),
                         table.threads_.end());
}

FaultTable::ThreadCounts& FaultTable::ThreadCounts::Mine() {
    thread_local ThreadCounts counts;
    return counts;
}

std::int64_t FaultTable::CountedLocked(std::size_t index) const {
    std::int64_t total = ended_[index];
    for (const ThreadCounts* counts : threads_) {
        total += counts->counts[index].load(std::memory_order_relaxed);
    }
    return total;
}

std::int64_t FaultTable::CallCount(SimFunction function) {
    std::lock_guard<std::mutex> lock(countsMutex_);
    return CountedLocked(Index(function)) - baseline_[Index(function)];
}

std::optional<int> FaultTable::EnterArmed(SimFunction function) {
    unsigned delayMs = 0;
    std::optional<int> failure;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (recordOrder_) {
            lastOrder_[Index(function)] = ++sequence_;
        }
        Entry& entry = entries_[Index(function)];
        if (entry.delays != 0) {
            delayMs = entry.delayMs;
            if (entry.delays > 0) {
                --entry.delays;
            }
        }
        if (entry.failures != 0) {
            failure = entry.code;
            if (entry.failures > 0) {
                --entry.failures;
            }
        }
        RecountLocked();
    }
    // The delay models a slow device; it runs outside the lock so other calls go on.
    if (delayMs > 0) {
        std::this_thread::sleep_for(std::chrono::milliseconds(delayMs));
    }
    return failure;
}

void FaultTable::ArmFailure(SimFunction function, int code, int count) {
    std::lock_guard<std::mutex> lock(mutex_);
    Entry& entry = entries_[Index(function)];
    entry.code = code;
    entry.failures = count < 0 ? Always : count;
    RecountLocked();
}

void FaultTable::ArmDelay(SimFunction function, unsigned milliseconds, int count) {
    std::lock_guard<std::mutex> lock(mutex_);
    Entry& entry = entries_[Index(function)];
    entry.delayMs = milliseconds;
    entry.delays = count < 0 ? Always : count;
    RecountLocked();
}

void FaultTable::Clear() {
    std::lock_guard<std::mutex> lock(mutex_);
    entries_.fill(Entry{});
    RecountLocked();
}

void FaultTable::ResetCounts() {
    std::lock_guard<std::mutex> lock(countsMutex_);
    for (std::size_t i = 0; i < SimFunctionCount; ++i) {
        baseline_[i] = CountedLocked(i);
    }
}

void FaultTable::RecordOrder(bool on) {
    std::lock_guard<std::mutex> lock(mutex_);
    recordOrder_ = on;
    if (on) {
        sequence_ = 0;
        lastOrder_.fill(0);
    }
    RecountLocked();
}

std::int64_t FaultTable::LastOrder(SimFunction function) {
    std::lock_guard<std::mutex> lock(mutex_);
    return lastOrder_[Index(function)];
}

std::optional<SimFunction> FaultTable::Lookup(const char* name) {
    if (name == nullptr) {
        return std::nullopt;
    }
    for (std::size_t i = 0; i < SimFunctionCount; ++i) {
        if (std::strcmp(Names[i], name) == 0) {
            return static_cast<SimFunction>(i);
        }
    }
    return std::nullopt;
}

const char* FaultTable::Name(SimFunction function) {
    return Names[Index(function)];
}

void FaultTable::RecountLocked() {
    int armed = recordOrder_ ? 1 : 0;
    for (const Entry& entry : entries_) {
        armed += entry.Armed() ? 1 : 0;
    }
    armed_.store(armed, std::memory_order_relaxed);
}

} // namespace sim

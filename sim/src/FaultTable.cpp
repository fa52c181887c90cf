#include "FaultTable.h"

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

FaultTable& FaultTable::Instance() {
    static FaultTable table;
    return table;
}

std::optional<int> FaultTable::EnterArmed(SimFunction function) {
    unsigned delayMs = 0;
    std::optional<int> failure;
    {
        std::lock_guard<std::mutex> lock(mutex_);
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
    for (auto& count : counts_) {
        count.store(0, std::memory_order_relaxed);
    }
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
    int armed = 0;
    for (const Entry& entry : entries_) {
        armed += entry.Armed() ? 1 : 0;
    }
    armed_.store(armed, std::memory_order_relaxed);
}

} // namespace sim

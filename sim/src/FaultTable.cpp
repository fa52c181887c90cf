#include "FaultTable.h"

#include <chrono>
#include <cstring>
#include <thread>

namespace sim {

namespace {

constexpr const char* kNames[] = {
#define SIM_FUNCTION_NAME(name) #name,
    SIM_FUNCTION_LIST(SIM_FUNCTION_NAME)
#undef SIM_FUNCTION_NAME
};
static_assert(sizeof(kNames) / sizeof(kNames[0]) == kSimFunctionCount);

} // namespace

FaultTable& FaultTable::instance() {
    static FaultTable table;
    return table;
}

std::optional<int> FaultTable::enterArmed(SimFunction function) {
    unsigned delayMs = 0;
    std::optional<int> failure;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        Entry& entry = m_entries[index(function)];
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
        recountLocked();
    }
    // The delay models a slow device; it runs outside the lock so other calls go on.
    if (delayMs > 0) {
        std::this_thread::sleep_for(std::chrono::milliseconds(delayMs));
    }
    return failure;
}

void FaultTable::armFailure(SimFunction function, int code, int count) {
    std::lock_guard<std::mutex> lock(m_mutex);
    Entry& entry = m_entries[index(function)];
    entry.code = code;
    entry.failures = count < 0 ? kAlways : count;
    recountLocked();
}

void FaultTable::armDelay(SimFunction function, unsigned milliseconds, int count) {
    std::lock_guard<std::mutex> lock(m_mutex);
    Entry& entry = m_entries[index(function)];
    entry.delayMs = milliseconds;
    entry.delays = count < 0 ? kAlways : count;
    recountLocked();
}

void FaultTable::clear() {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_entries.fill(Entry{});
    recountLocked();
}

void FaultTable::resetCounts() {
    for (auto& count : m_counts) {
        count.store(0, std::memory_order_relaxed);
    }
}

std::optional<SimFunction> FaultTable::lookup(const char* name) {
    if (name == nullptr) {
        return std::nullopt;
    }
    for (std::size_t i = 0; i < kSimFunctionCount; ++i) {
        if (std::strcmp(kNames[i], name) == 0) {
            return static_cast<SimFunction>(i);
        }
    }
    return std::nullopt;
}

const char* FaultTable::name(SimFunction function) {
    return kNames[index(function)];
}

void FaultTable::recountLocked() {
    int armed = 0;
    for (const Entry& entry : m_entries) {
        armed += entry.armed() ? 1 : 0;
    }
    m_armed.store(armed, std::memory_order_relaxed);
}

} // namespace sim

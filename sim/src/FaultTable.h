// Injected faults, delays and call counters of the SDK entry points.
#pragma once

#include "SimExport.h"
#include "SimFunction.h"

#include <array>
#include <atomic>
#include <cstdint>
#include <mutex>
#include <optional>

namespace sim {

// Every SDK entry point calls enter() first. With nothing armed that costs one relaxed
// increment of the call counter and one relaxed load of the armed count, so the check can
// stay in the hot paths (wait, status, buffer parameters).
//
// Thread-safe. m_mutex guards m_entries; m_armed mirrors how many entries have something
// armed and is only written under m_mutex; the counters are independent atomics.
class SIM_EXPORT FaultTable {
public:
    static constexpr int kAlways = -1;

    static FaultTable& instance();

    // Counts the call, sleeps for an armed delay and answers an armed failure code.
    std::optional<int> enter(SimFunction function) {
        m_counts[index(function)].fetch_add(1, std::memory_order_relaxed);
        if (m_armed.load(std::memory_order_relaxed) == 0) {
            return std::nullopt;
        }
        return enterArmed(function);
    }

    // count: the number of calls to affect, kAlways for every call; 0 disarms.
    void armFailure(SimFunction function, int code, int count);
    void armDelay(SimFunction function, unsigned milliseconds, int count);
    void clear();

    std::int64_t callCount(SimFunction function) const {
        return m_counts[index(function)].load(std::memory_order_relaxed);
    }
    void resetCounts();

    static std::optional<SimFunction> lookup(const char* name);
    static const char* name(SimFunction function);

private:
    struct Entry {
        int code = 0;
        int failures = 0; // calls still to fail, kAlways for all
        unsigned delayMs = 0;
        int delays = 0; // calls still to delay, kAlways for all
        bool armed() const { return failures != 0 || delays != 0; }
    };

    FaultTable() = default;
    static std::size_t index(SimFunction function) { return static_cast<std::size_t>(function); }
    std::optional<int> enterArmed(SimFunction function);
    void recountLocked();

    std::mutex m_mutex;
    std::array<Entry, kSimFunctionCount> m_entries{};
    std::atomic<int> m_armed{0};
    std::array<std::atomic<std::int64_t>, kSimFunctionCount> m_counts{};
};

} // namespace sim

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

// Every SDK entry point calls Enter() first. With nothing armed that costs one relaxed
// increment of the call counter and one relaxed load of the armed count, so the check can
// stay in the hot paths (wait, status, buffer parameters).
//
// Thread-safe. mutex_ guards entries_; armed_ mirrors how many entries have something
// armed and is only written under mutex_; the counters are independent atomics.
class SIM_EXPORT FaultTable {
public:
    static constexpr int Always = -1;

    static FaultTable& Instance();

    // Counts the call, sleeps for an armed delay and answers an armed failure code.
    std::optional<int> Enter(SimFunction function) {
        counts_[Index(function)].fetch_add(1, std::memory_order_relaxed);
        if (armed_.load(std::memory_order_relaxed) == 0) {
            return std::nullopt;
        }
        return EnterArmed(function);
    }

    // count: the number of calls to affect, Always for every call; 0 disarms.
    void ArmFailure(SimFunction function, int code, int count);
    void ArmDelay(SimFunction function, unsigned milliseconds, int count);
    void Clear();

    std::int64_t CallCount(SimFunction function) const {
        return counts_[Index(function)].load(std::memory_order_relaxed);
    }
    void ResetCounts();

    static std::optional<SimFunction> Lookup(const char* name);
    static const char* Name(SimFunction function);

private:
    struct Entry {
        int code = 0;
        int failures = 0; // calls still to fail, Always for all
        unsigned delayMs = 0;
        int delays = 0; // calls still to delay, Always for all
        bool Armed() const { return failures != 0 || delays != 0; }
    };

    FaultTable() = default;
    static std::size_t Index(SimFunction function) { return static_cast<std::size_t>(function); }
    std::optional<int> EnterArmed(SimFunction function);
    void RecountLocked();

    std::mutex mutex_;
    std::array<Entry, SimFunctionCount> entries_{};
    std::atomic<int> armed_{0};
    std::array<std::atomic<std::int64_t>, SimFunctionCount> counts_{};
};

} // namespace sim

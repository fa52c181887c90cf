// Injected faults, delays and call counters of the SDK entry points.
#pragma once

#include "SimExport.h"
#include "SimFunction.h"

#include <array>
#include <atomic>
#include <cstdint>
#include <mutex>
#include <optional>
#include <vector>

namespace sim {

// Every SDK entry point calls Enter() first. With nothing armed that costs counting the
// call in the calling thread's own counters (a relaxed load and store, no read-modify-
// write) and one relaxed load of the armed count, so the check can stay in the hot paths
// (wait, status, buffer parameters).
//
// Thread-safe. mutex_ guards entries_ and the call order; armed_ mirrors how many entries have
// something armed and is only written under mutex_. Each thread counts its calls in its own block
// (ThreadCounts), written only by that thread; countsMutex_ guards the list of blocks,
// the counts of threads that have ended and the baseline ResetCounts sets, so a count is
// exact without any thread writing another's counters.
class SIM_EXPORT FaultTable {
public:
    static constexpr int Always = -1;

    static FaultTable& Instance();

    // Counts the call, sleeps for an armed delay and answers an armed failure code.
    std::optional<int> Enter(SimFunction function) {
        if (!Count(function)) {
            return std::nullopt;
        }
        return EnterArmed(function);
    }
    // Counts the call; false when nothing at all is armed, so EnterArmed has nothing to
    // do.
    bool Count(SimFunction function);

    // One thread's call counters; registered with the table on the thread's first call.
    struct SIM_EXPORT ThreadCounts {
        ThreadCounts();
        ~ThreadCounts();
        ThreadCounts(const ThreadCounts&) = delete;
        ThreadCounts& operator=(const ThreadCounts&) = delete;
        static ThreadCounts& Mine();
        std::array<std::atomic<std::int64_t>, SimFunctionCount> counts{};
    };
    // Count with the calling thread's counters at hand (fglib5's entry points).
    bool CountIn(ThreadCounts& counts, SimFunction function) {
        std::atomic<std::int64_t>& count = counts.counts[Index(function)];
        count.store(count.load(std::memory_order_relaxed) + 1, std::memory_order_relaxed);
        return armed_.load(std::memory_order_relaxed) != 0;
    }
    // The rest of Enter once Count found something armed.
    std::optional<int> EnterArmed(SimFunction function);

    // count: the number of calls to affect, Always for every call; 0 disarms.
    void ArmFailure(SimFunction function, int code, int count);
    void ArmDelay(SimFunction function, unsigned milliseconds, int count);
    void Clear();

    std::int64_t CallCount(SimFunction function);
    void ResetCounts();

    // Call order: while on, every call takes the next number of one sequence shared by
    // all functions, and each function keeps the number of its latest call. Turning it
    // on starts the sequence afresh. Counted as armed, so the unarmed path stays as it is.
    void RecordOrder(bool on);
    // The number of the latest call of `function` since recording started; 0 for none.
    std::int64_t LastOrder(SimFunction function);

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
    void RecountLocked();

    std::mutex mutex_;
    std::array<Entry, SimFunctionCount> entries_{};
    bool recordOrder_ = false;
    std::int64_t sequence_ = 0;
    std::array<std::int64_t, SimFunctionCount> lastOrder_{};
    std::atomic<int> armed_{0};
    std::int64_t CountedLocked(std::size_t index) const;

    std::mutex countsMutex_;
    std::vector<const ThreadCounts*> threads_;
    std::array<std::int64_t, SimFunctionCount> ended_{};
    std::array<std::int64_t, SimFunctionCount> baseline_{};
};

// The calling thread's counters once it has counted a call, null before. Initial-exec:
// read as one load relative to the thread pointer, not through __tls_get_addr (eight
// bytes of the static TLS the C library keeps for libraries loaded later). Used only
// inside fglib5, which defines it.
extern thread_local FaultTable::ThreadCounts* threadCallCounts
    __attribute__((tls_model("initial-exec")));

} // namespace sim

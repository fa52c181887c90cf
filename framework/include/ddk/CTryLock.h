#pragma once

#include <atomic>

/// A lock that is only ever tried, never waited for, and that any thread may
/// release: a started acquisition holds it from GrabStart to a GrabStop that may
/// come from another thread. A call that holds it only for itself does so through
/// std::unique_lock with std::try_to_lock. Not a capability for the thread-safety
/// analysis, which cannot follow a lock that another thread releases.
class CTryLock {
public:
    bool try_lock() { return !held_.exchange(true, std::memory_order_acquire); }
    void unlock() { held_.store(false, std::memory_order_release); }
    bool is_locked() const { return held_.load(std::memory_order_acquire); }

private:
    std::atomic<bool> held_{false};
};

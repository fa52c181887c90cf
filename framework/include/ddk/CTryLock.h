#pragma once

#include <atomic>

/// A lock that is only ever tried, never waited for, and that any thread may
/// release: a started acquisition holds it from GrabStart to a GrabStop that may
/// come from another thread.
class CTryLock {
public:
    bool try_lock() { return !held_.exchange(true, std::memory_order_acquire); }
    void unlock() { held_.store(false, std::memory_order_release); }
    bool is_locked() const { return held_.load(std::memory_order_acquire); }

private:
    std::atomic<bool> held_{false};
};

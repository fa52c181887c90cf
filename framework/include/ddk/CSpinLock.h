#pragma once

#include <ddk/ThreadSafety.h>

#include <atomic>
#include <thread>

/// A lock for a few instructions of work: taking it free costs one exchange and
/// giving it back one plain store, where a std::mutex pays two read-modify-writes.
/// A thread that finds it held yields until it is free, so it must only guard
/// work that never blocks.
class DDK_CAPABILITY("mutex") CSpinLock {
public:
    CSpinLock() = default;
    CSpinLock(const CSpinLock&) = delete;
    CSpinLock& operator=(const CSpinLock&) = delete;

    void lock() DDK_ACQUIRE() {
        while (held_.exchange(true, std::memory_order_acquire)) {
            while (held_.load(std::memory_order_relaxed))
                std::this_thread::yield();
        }
    }
    void unlock() DDK_RELEASE() { held_.store(false, std::memory_order_release); }

private:
    std::atomic<bool> held_{false};
};

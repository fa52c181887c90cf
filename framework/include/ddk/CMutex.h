#pragma once

#include <ddk/ThreadSafety.h>

/// A lock the thread-safety analysis knows: `Native` (std::mutex,
/// std::recursive_mutex, boost::recursive_timed_mutex) behind annotated
/// operations, since the standard library's own types carry no annotations.
/// The analysis does not model re-entry; a recursive native lock still allows it.
template <class Native> class DDK_CAPABILITY("mutex") CMutex {
public:
    CMutex() = default;
    CMutex(const CMutex&) = delete;
    CMutex& operator=(const CMutex&) = delete;

    void lock() DDK_ACQUIRE() { native_.lock(); }
    void unlock() DDK_RELEASE() { native_.unlock(); }
    bool try_lock() DDK_TRY_ACQUIRE(true) { return native_.try_lock(); }
    template <class Duration> bool try_lock_for(const Duration& wait) DDK_TRY_ACQUIRE(true) {
        return native_.try_lock_for(wait);
    }

private:
    Native native_;
};

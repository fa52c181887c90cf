#pragma once

#include <ddk/ThreadSafety.h>

#include <mutex>

/// Holds an annotated lock (CMutex) for its scope, as std::lock_guard does, in a
/// way the thread-safety analysis follows. A lock taken with try_lock or
/// try_lock_for is handed over with std::adopt_lock.
template <class Lockable> class DDK_SCOPED_CAPABILITY CLockGuard {
public:
    explicit CLockGuard(Lockable& lock) DDK_ACQUIRE(lock) : lock_(lock) { lock_.lock(); }
    CLockGuard(Lockable& lock, std::adopt_lock_t) DDK_REQUIRES(lock) : lock_(lock) {}
    ~CLockGuard() DDK_RELEASE() { lock_.unlock(); }
    CLockGuard(const CLockGuard&) = delete;
    CLockGuard& operator=(const CLockGuard&) = delete;

private:
    Lockable& lock_;
};

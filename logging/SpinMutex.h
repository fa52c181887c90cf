#pragma once
// A mutex that is constant-initialised on every platform: std::mutex has no
// constexpr constructor under MinGW's posix thread model.

#include <atomic>
#include <thread>

namespace nwLogging {

/// Meets the Lockable requirements (std::lock_guard works). For short critical
/// sections only: a waiting thread yields in a loop instead of sleeping.
class spin_mutex {
public:
    constexpr spin_mutex() = default;
    spin_mutex(const spin_mutex&) = delete;
    spin_mutex& operator=(const spin_mutex&) = delete;

    void lock() noexcept {
        while (locked_.exchange(true, std::memory_order_acquire))
            std::this_thread::yield();
    }
    bool try_lock() noexcept { return !locked_.exchange(true, std::memory_order_acquire); }
    void unlock() noexcept { locked_.store(false, std::memory_order_release); }

private:
    std::atomic<bool> locked_{false};
};

} // namespace nwLogging

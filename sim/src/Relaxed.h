// A value written under a lock and read without one, as a register is: every access is a
// relaxed atomic one, and copies read and write it whole.
#pragma once

#include <atomic>

namespace sim {

template <typename T> class Relaxed {
public:
    Relaxed(T value = T{}) : value_(value) {} // NOLINT(google-explicit-constructor)
    Relaxed(const Relaxed& other) : value_(other) {}
    Relaxed& operator=(const Relaxed& other) {
        value_.store(other, std::memory_order_relaxed);
        return *this;
    }
    Relaxed& operator=(T value) {
        value_.store(value, std::memory_order_relaxed);
        return *this;
    }
    operator T() const { return value_.load(std::memory_order_relaxed); } // NOLINT
    T operator->() const { return *this; }

private:
    std::atomic<T> value_;
};

} // namespace sim

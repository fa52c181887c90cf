#pragma once
// One reference to a host object, released on scope exit.

#include <ORHost/HostApp.h>

#include <utility>

class HostObject {
public:
    HostObject() = default;
    explicit HostObject(ORHandle handle) : handle_(handle) {}
    HostObject(const HostObject&) = delete;
    HostObject& operator=(const HostObject&) = delete;
    HostObject(HostObject&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}
    HostObject& operator=(HostObject&& other) noexcept {
        if (this != &other) {
            reset();
            handle_ = std::exchange(other.handle_, nullptr);
        }
        return *this;
    }
    ~HostObject() { reset(); }

    ORHandle get() const { return handle_; }
    explicit operator bool() const { return handle_ != nullptr; }
    void reset() { orvhost::Release(handle_); }

private:
    ORHandle handle_ = nullptr;
};

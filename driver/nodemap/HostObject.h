#pragma once

#include <ORCImg/ORCImg.h>
#include <ORV/ORVTypes.h>

#include <utility>

/// Owns one reference to a host object (a node map, a proxy) and releases it
/// through the image core when it goes. Move-only; not thread-safe itself.
class CHostObject {
public:
    CHostObject() = default;
    /// Takes over a reference the caller owns.
    explicit CHostObject(ORHandle handle) : handle_(handle) {}
    CHostObject(const CHostObject&) = delete;
    CHostObject& operator=(const CHostObject&) = delete;
    CHostObject(CHostObject&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}
    CHostObject& operator=(CHostObject&& other) noexcept {
        if (this != &other) {
            reset();
            handle_ = std::exchange(other.handle_, nullptr);
        }
        return *this;
    }
    ~CHostObject() { reset(); }

    ORHandle get() const { return handle_; }
    explicit operator bool() const { return handle_ != nullptr; }
    /// Gives the reference up without releasing it.
    ORHandle release() { return std::exchange(handle_, nullptr); }
    void reset() { ORCImg_ReleaseObject(&handle_); }

private:
    ORHandle handle_ = nullptr;
};

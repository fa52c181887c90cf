#pragma once
// One reference to a host object, released through the image core.

#include <ORCImg/ORCImg.h>
#include <ORV/ORVTypes.h>

#include <utility>

namespace orvCImg {

/// Owns one reference to a host object (an image, a node map, a proxy) and
/// releases it through the image core when it goes. Move-only; not thread-safe
/// itself. The image core's release is the one the host-application API and
/// driver modules both use, so this lives with it.
class HostObject {
public:
    HostObject() = default;
    /// Takes over a reference the caller owns.
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
    /// Gives the reference up without releasing it.
    ORHandle release() { return std::exchange(handle_, nullptr); }
    /// The image core clears the held handle before it releases the object, whose
    /// destructor may look at the variable that held it.
    void reset() { ORCImg_ReleaseObject(&handle_); }
    /// Releases the held reference and hands out the slot for an out parameter
    /// that receives a new one.
    ORHandle* out() {
        reset();
        return &handle_;
    }

private:
    ORHandle handle_ = nullptr;
};

} // namespace orvCImg

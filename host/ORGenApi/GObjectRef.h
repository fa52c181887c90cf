#pragma once
// One strong reference to a GObject, released on destruction.

#include <glib-object.h>

#include <utility>

namespace orgenapi {

/// Move-only owner of one reference to a GObject of type T.
template <class T> class GObjectRef {
public:
    GObjectRef() = default;
    /// Takes over a reference the caller owns (a new object, for example).
    explicit GObjectRef(T* object) : object_(object) {}
    GObjectRef(const GObjectRef&) = delete;
    GObjectRef& operator=(const GObjectRef&) = delete;
    GObjectRef(GObjectRef&& other) noexcept : object_(std::exchange(other.object_, nullptr)) {}
    GObjectRef& operator=(GObjectRef&& other) noexcept {
        reset(std::exchange(other.object_, nullptr));
        return *this;
    }
    ~GObjectRef() { reset(); }

    T* get() const { return object_; }
    explicit operator bool() const { return object_ != nullptr; }
    void reset(T* object = nullptr) {
        if (T* old = std::exchange(object_, object))
            g_object_unref(old);
    }

private:
    T* object_ = nullptr;
};

} // namespace orgenapi

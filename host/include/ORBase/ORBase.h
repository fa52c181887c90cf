#pragma once
// C++ helpers over the ORBase C functions: the failure codes become the
// orvBase exceptions with the library's texts.

#include <ORBase/ORBaseApi.h>
#include <ORBase/orvBaseExceptions.h>
#include <ORV/ResultCodes.h>

#include <cstddef>
#include <new>
#include <type_traits>
#include <utility>

namespace orvBase {

/// Adds a table to the container of `handle`; the container then owns it. When
/// this throws the caller still owns the table.
inline void AddInterface(ORHandle handle, ORV::IDisposableType* table) {
    if (handle == nullptr)
        throw invalid_operation("empty shared_ptr");
    if (table == nullptr)
        throw argument_null("ptr");
    const int32_t result = ORBase_AddInterface(handle, table);
    if (result == ORV::E_INVALIDARG)
        throw invalid_argument("Interface in ptr present this container");
    if (result == ORV::E_OUTOFMEMORY)
        throw bad_alloc();
    if (result < 0)
        throw runtime_error("Unable to add interface");
}

/// A counted strong reference to a block (move-only owner of one reference).
class shared_handle {
public:
    shared_handle() = default;
    /// Takes over one strong reference the caller already owns.
    static shared_handle adopt(ORHandle handle) {
        shared_handle result;
        result.handle_ = handle;
        return result;
    }
    /// Adds a strong reference of its own.
    static shared_handle share(ORHandle handle) {
        if (handle != nullptr)
            ORBase_AddRef(handle);
        return adopt(handle);
    }
    shared_handle(const shared_handle& other) : handle_(other.handle_) {
        if (handle_ != nullptr)
            ORBase_AddRef(handle_);
    }
    shared_handle(shared_handle&& other) noexcept
        : handle_(std::exchange(other.handle_, nullptr)) {}
    shared_handle& operator=(shared_handle other) noexcept {
        std::swap(handle_, other.handle_);
        return *this;
    }
    ~shared_handle() { reset(); }

    ORHandle get() const { return handle_; }
    /// Gives up ownership of the reference without releasing it.
    ORHandle release() { return std::exchange(handle_, nullptr); }
    void reset() {
        if (ORHandle handle = std::exchange(handle_, nullptr))
            ORBase_Release(handle);
    }
    explicit operator bool() const { return handle_ != nullptr; }

private:
    ORHandle handle_ = nullptr;
};

/// A weak reference to a block.
class weak_handle {
public:
    weak_handle() = default;
    explicit weak_handle(ORHandle handle) : handle_(handle) {
        if (handle_ != nullptr)
            ORBase_AddWeak(handle_);
    }
    weak_handle(const weak_handle& other) : weak_handle(other.handle_) {}
    weak_handle& operator=(weak_handle other) noexcept {
        std::swap(handle_, other.handle_);
        return *this;
    }
    ~weak_handle() {
        if (handle_ != nullptr)
            ORBase_ReleaseWeak(handle_);
    }
    /// A strong reference, empty when the object has expired.
    shared_handle lock() const {
        if (handle_ == nullptr || ORBase_PromoteWeak(handle_) < 0)
            return shared_handle();
        return shared_handle::adopt(handle_);
    }
    /// A strong reference; throws bad_weak_ptr when the object has expired.
    shared_handle promote() const {
        shared_handle result = lock();
        if (!result)
            throw bad_weak_ptr();
        return result;
    }
    bool expired() const { return !lock(); }
    ORHandle get() const { return handle_; }

private:
    ORHandle handle_ = nullptr;
};

/// Allocates a block and constructs T in it. T must derive from
/// ORV::IDisposableType. Throws bad_alloc when the block cannot be allocated; a
/// throwing constructor releases the block and rethrows.
template <class T, class... Args>
shared_handle make_shared_object(ORTypeKey typeKey, T** object, Args&&... args) {
    static_assert(std::is_base_of<ORV::IDisposableType, T>::value,
                  "block objects derive from ORV::IDisposableType");
    static_assert(alignof(T) <= alignof(std::max_align_t),
                  "block storage is aligned for max_align_t only");
    void* storage = nullptr;
    ORHandle handle = ORBase_Allocate(sizeof(T), &storage);
    if (handle == nullptr)
        throw bad_alloc();
    shared_handle owner = shared_handle::adopt(handle);
    // A throwing constructor leaves `owner` to release the block, which holds no
    // object yet.
    T* created = new (storage) T(std::forward<Args>(args)...);
    if (ORBase_SetObject(handle, created, typeKey) < 0) {
        created->~T();
        throw runtime_error("Unable to set object");
    }
    if (object != nullptr)
        *object = created;
    return owner;
}

/// Makes `base` the base object of `derived`.
inline void SetBase(ORHandle derived, ORHandle base) {
    if (base == nullptr)
        throw argument_null("Pointer to inherit from is null");
    const int32_t result = ORBase_SetBase(derived, base);
    if (result == ORV::E_HASBASE)
        throw logic_error("This object has an existing base object");
    if (result < 0)
        throw runtime_error("Unable to set base object");
}

} // namespace orvBase

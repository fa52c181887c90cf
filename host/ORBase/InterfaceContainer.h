#pragma once
// The interface tables hung on one block, in order of addition.

#include <ORV/IDisposableType.h>

#include <cstdint>
#include <vector>

namespace orbase {

/// Owns heap-allocated interface tables and disposes them in reverse order of
/// addition. Not thread-safe: the owning block's mutex guards it.
class InterfaceContainer {
public:
    InterfaceContainer() = default;
    InterfaceContainer(const InterfaceContainer&) = delete;
    InterfaceContainer& operator=(const InterfaceContainer&) = delete;
    ~InterfaceContainer();

    /// Takes ownership of `table`. E_INVALIDARG when a table of the same dynamic
    /// class is present (ownership then stays with the caller), E_OUTOFMEMORY when
    /// the list cannot grow.
    int32_t Add(ORV::IDisposableType* table);
    uint32_t Count() const;
    ORV::IDisposableType* At(uint32_t index) const;
    /// Hands all tables to the caller, leaving the container empty, so that they
    /// can be disposed outside the block's lock.
    std::vector<ORV::IDisposableType*> TakeAll();
    /// Disposes `tables` last-added first.
    static void DisposeAll(std::vector<ORV::IDisposableType*>& tables);

private:
    std::vector<ORV::IDisposableType*> tables_;
};

} // namespace orbase

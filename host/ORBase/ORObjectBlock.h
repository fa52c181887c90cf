#pragma once
// The shared block behind every ORHandle.

#include "InterfaceContainer.h"

#include <ORBase/ORBaseApi.h>

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <mutex>

/// One allocation holding the counts, the bookkeeping and the object storage.
///
/// Counts work like std::shared_ptr's control block: the strong references
/// together hold one weak reference, the object dies with the last strong
/// reference and the memory with the last weak one. The counts are atomics;
/// the object pointer, type key, base link and interface container are guarded
/// by `mutex_`, which is never held while an object destructor or a table's
/// Dispose runs (they may release other blocks, or this one's base).
struct ORObjectBlock {
public:
    /// A block with `storageSize` bytes of storage aligned for any object, one
    /// strong reference and the weak reference of the strong ones. Null when out
    /// of memory.
    static ORObjectBlock* Create(size_t storageSize);

    void* Storage();

    /// Adds a strong reference unless the object has expired.
    bool AddStrong();
    void ReleaseStrong();
    void AddWeak();
    void ReleaseWeak();
    uint32_t StrongCount() const { return strong_.load(std::memory_order_acquire); }

    int32_t SetObject(ORV::IDisposableType* object, ORTypeKey typeKey);
    int32_t QueryObject(ORTypeKey typeKey, void** object) const;

    int32_t AddInterface(ORV::IDisposableType* table);
    uint32_t InterfaceCount() const;
    ORV::IDisposableType* InterfaceAt(uint32_t index) const;

    int32_t SetBase(ORObjectBlock* base);
    /// A new strong reference to the base in `*base`.
    int32_t GetBase(ORObjectBlock** base) const;

    /// Blocks with strong references left, process-wide.
    static uint32_t LiveCount();
    /// Blocks whose memory is still allocated, process-wide.
    static uint32_t AllocatedCount();

    ORObjectBlock(const ORObjectBlock&) = delete;
    ORObjectBlock& operator=(const ORObjectBlock&) = delete;

private:
    ORObjectBlock() = default;
    ~ORObjectBlock() = default;
    static size_t HeaderSize();
    /// The last strong reference went: object, tables, then base link.
    void Expire();

    std::atomic<uint32_t> strong_{1};
    std::atomic<uint32_t> weak_{1};
    mutable std::mutex mutex_;
    ORV::IDisposableType* object_ = nullptr; // guarded by mutex_
    ORTypeKey typeKey_ = 0;                  // guarded by mutex_
    ORObjectBlock* base_ = nullptr;          // guarded by mutex_; holds a weak reference
    bool hasHadBase_ = false;                // guarded by mutex_; stays set after expiry
    orbase::InterfaceContainer interfaces_;  // guarded by mutex_
};

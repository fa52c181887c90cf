#include "ORObjectBlock.h"

#include <ORV/ResultCodes.h>

#include <limits>
#include <new>
#include <utility>
#include <vector>

namespace {

std::atomic<uint32_t> liveBlocks{0};
std::atomic<uint32_t> allocatedBlocks{0};

/// Decrements unless the count is already 0 (an over-release, which is refused
/// rather than allowed to wrap round). Answers the value before.
uint32_t DecrementIfPositive(std::atomic<uint32_t>& count) {
    uint32_t current = count.load(std::memory_order_relaxed);
    while (current != 0 &&
           !count.compare_exchange_weak(current, current - 1, std::memory_order_acq_rel,
                                        std::memory_order_relaxed)) {
    }
    return current;
}

} // namespace

static_assert(__STDCPP_DEFAULT_NEW_ALIGNMENT__ >= alignof(std::max_align_t),
              "operator new must align the block for any object");

size_t ORObjectBlock::HeaderSize() {
    constexpr size_t Align = alignof(std::max_align_t);
    return (sizeof(ORObjectBlock) + Align - 1) / Align * Align;
}

ORObjectBlock* ORObjectBlock::Create(size_t storageSize) {
    const size_t header = HeaderSize();
    if (storageSize > std::numeric_limits<size_t>::max() - header)
        return nullptr;
    void* memory = ::operator new(header + (storageSize == 0 ? 1 : storageSize), std::nothrow);
    if (memory == nullptr)
        return nullptr;
    allocatedBlocks.fetch_add(1, std::memory_order_relaxed);
    liveBlocks.fetch_add(1, std::memory_order_relaxed);
    return new (memory) ORObjectBlock();
}

void* ORObjectBlock::Storage() {
    return reinterpret_cast<unsigned char*>(this) + HeaderSize();
}

bool ORObjectBlock::AddStrong() {
    uint32_t current = strong_.load(std::memory_order_relaxed);
    // Never from 0: an expired object must not come back.
    while (current != 0) {
        if (strong_.compare_exchange_weak(current, current + 1, std::memory_order_acq_rel,
                                          std::memory_order_relaxed))
            return true;
    }
    return false;
}

void ORObjectBlock::ReleaseStrong() {
    if (DecrementIfPositive(strong_) != 1)
        return;
    Expire();
    ReleaseWeak();
}

void ORObjectBlock::AddWeak() {
    weak_.fetch_add(1, std::memory_order_relaxed);
}

void ORObjectBlock::ReleaseWeak() {
    if (DecrementIfPositive(weak_) != 1)
        return;
    this->~ORObjectBlock();
    ::operator delete(static_cast<void*>(this));
    allocatedBlocks.fetch_sub(1, std::memory_order_relaxed);
}

void ORObjectBlock::Expire() {
    ORV::IDisposableType* object = nullptr;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        object = std::exchange(object_, nullptr);
    }
    // The object lives in this block's storage: destroy it in place, never
    // Dispose (that would free storage it does not own).
    if (object != nullptr)
        object->~IDisposableType();

    std::vector<ORV::IDisposableType*> tables;
    ORObjectBlock* base = nullptr;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        tables = interfaces_.TakeAll();
        base = std::exchange(base_, nullptr);
    }
    orbase::InterfaceContainer::DisposeAll(tables);
    if (base != nullptr)
        base->ReleaseWeak();
    liveBlocks.fetch_sub(1, std::memory_order_relaxed);
}

int32_t ORObjectBlock::SetObject(ORV::IDisposableType* object, ORTypeKey typeKey) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (object_ != nullptr || StrongCount() == 0)
        return ORV::E_FAIL;
    object_ = object;
    typeKey_ = typeKey;
    return ORV::OK;
}

int32_t ORObjectBlock::QueryObject(ORTypeKey typeKey, void** object) const {
    std::lock_guard<std::mutex> lock(mutex_);
    if (object_ == nullptr)
        return StrongCount() == 0 ? ORV::E_EXPIRED : ORV::E_FAIL;
    if (typeKey != ORBASE_OWN_OBJECT && (typeKey == 0 || typeKey != typeKey_))
        return ORV::E_FAIL;
    *object = object_;
    return ORV::OK;
}

int32_t ORObjectBlock::AddInterface(ORV::IDisposableType* table) {
    std::lock_guard<std::mutex> lock(mutex_);
    // Once expired the tables have been (or are being) disposed; a late one
    // would never be.
    if (StrongCount() == 0)
        return ORV::E_EXPIRED;
    return interfaces_.Add(table);
}

uint32_t ORObjectBlock::InterfaceCount() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return interfaces_.Count();
}

ORV::IDisposableType* ORObjectBlock::InterfaceAt(uint32_t index) const {
    std::lock_guard<std::mutex> lock(mutex_);
    return interfaces_.At(index);
}

int32_t ORObjectBlock::SetBase(ORObjectBlock* base) {
    if (base == this)
        return ORV::E_FAIL;
    std::lock_guard<std::mutex> lock(mutex_);
    if (hasHadBase_)
        return ORV::E_HASBASE;
    if (StrongCount() == 0 || base->StrongCount() == 0)
        return ORV::E_EXPIRED;
    base->AddWeak();
    base_ = base;
    hasHadBase_ = true;
    return ORV::OK;
}

int32_t ORObjectBlock::GetBase(ORObjectBlock** base) const {
    std::lock_guard<std::mutex> lock(mutex_);
    if (base_ == nullptr)
        return hasHadBase_ ? ORV::E_EXPIRED : ORV::E_FAIL;
    // Our weak reference keeps the base's memory while the lock keeps the link.
    if (!base_->AddStrong())
        return ORV::E_EXPIRED;
    *base = base_;
    return ORV::OK;
}

uint32_t ORObjectBlock::LiveCount() {
    return liveBlocks.load(std::memory_order_relaxed);
}

uint32_t ORObjectBlock::AllocatedCount() {
    return allocatedBlocks.load(std::memory_order_relaxed);
}

#include "MemorySlots.h"

#include <new>

namespace sim {

Fg_Memory* MemorySlots::Acquire(const Grabber* owner, MemoryHead* head) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (free_.empty()) {
        const std::size_t count = chunkCount_.load(std::memory_order_relaxed);
        if (count == MaxChunks) {
            throw std::bad_alloc();
        }
        Fg_Memory* chunk = new Fg_Memory[SlotsPerChunk];
        free_.reserve(free_.size() + SlotsPerChunk);
        for (std::size_t i = SlotsPerChunk; i > 0; --i) {
            free_.push_back(chunk + i - 1);
        }
        chunks_[count].store(chunk, std::memory_order_relaxed);
        chunkCount_.store(count + 1, std::memory_order_release);
    }
    Fg_Memory* slot = free_.back();
    free_.pop_back();
    slot->serial = NextHandleSerial();
    slot->owner.store(owner, std::memory_order_relaxed);
    slot->head.store(head, std::memory_order_release);
    return slot;
}

void MemorySlots::Release(Fg_Memory* handle) {
    handle->head.store(nullptr, std::memory_order_release);
    handle->owner.store(nullptr, std::memory_order_relaxed);
    std::lock_guard<std::mutex> lock(mutex_);
    // Oldest freed first: a just-freed handle is not reused at once.
    free_.insert(free_.begin(), handle);
}

} // namespace sim

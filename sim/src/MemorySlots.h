// Where Fg_Memory handles live: slots in chunks that are never freed, reused once their
// memory is gone.
#pragma once

#include "Handles.h"

#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

namespace sim {

// A handle is resolved without a lock or a lookup: an address check against the chunks
// and two loads. A handle whose memory was freed finds its slot empty (or, once the slot
// serves another memory, a memory of that grabber, as a reused address did before).
//
// Thread-safe: mutex_ guards the free list and the making of chunks; chunks are published
// through atomics and never move.
class MemorySlots {
public:
    static MemorySlots& Instance() {
        // Never destroyed: handles stay checkable until the process ends.
        static MemorySlots* slots = new MemorySlots();
        return *slots;
    }

    // A slot naming `head` of `owner`; std::bad_alloc when no slot can be had.
    Fg_Memory* Acquire(const Grabber* owner, MemoryHead* head);
    // Empties the slot; the handle resolves to nothing from here on.
    void Release(Fg_Memory* handle);

    // The memory behind a valid handle of `owner`, nullptr for anything else.
    MemoryHead* Resolve(const Fg_Memory* handle, const Grabber* owner) const {
        if (!Contains(handle)) {
            return nullptr;
        }
        MemoryHead* head = handle->head.load(std::memory_order_acquire);
        return head != nullptr && handle->owner.load(std::memory_order_relaxed) == owner ? head
                                                                                         : nullptr;
    }

private:
    static constexpr std::size_t SlotsPerChunk = 1024;
    static constexpr std::size_t MaxChunks = 4096;

    MemorySlots() = default;
    bool Contains(const Fg_Memory* handle) const {
        const std::size_t count = chunkCount_.load(std::memory_order_acquire);
        for (std::size_t i = 0; i < count; ++i) {
            const Fg_Memory* first = chunks_[i].load(std::memory_order_relaxed);
            if (handle >= first && handle < first + SlotsPerChunk) {
                const auto offset = reinterpret_cast<std::uintptr_t>(handle) -
                                    reinterpret_cast<std::uintptr_t>(first);
                return offset % sizeof(Fg_Memory) == 0;
            }
        }
        return false;
    }

    std::mutex mutex_;
    std::vector<Fg_Memory*> free_;
    std::array<std::atomic<Fg_Memory*>, MaxChunks> chunks_{};
    std::atomic<std::size_t> chunkCount_{0};
};

} // namespace sim

// DMA memory: SDK-allocated buffers or a head of caller-registered buffers, with what the
// engine recorded for each buffer.
#pragma once

#include "DmaConfig.h"
#include "Handles.h"
#include "Relaxed.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

namespace sim {

// The per-buffer answers (tag, time stamp, length, lock state) are written under the
// grabber's mutex and read without it, as a real board's status registers are.
struct BufferRecord {
    std::int64_t picture = 0; // 0: nothing delivered into this buffer
    Relaxed<std::uint16_t> tag = 0;
    Relaxed<std::uint64_t> timestamp = 0; // microseconds since the grabber was opened
    Relaxed<std::uint64_t> transferLength = 0;
    Relaxed<bool> locked = false;
    FrameSetup setup{};
};

// Buffer numbers are 1-based; indices given to add/remove are 0-based (number = index + 1).
//
// Not thread-safe on its own: every instance belongs to one Grabber and is only changed
// under that grabber's mutex; the records' per-buffer answers, the buffer count and
// boundDma may be read without it. The engine writes pixels into a buffer without the mutex,
// which is safe because buffers cannot be removed while the memory is being acquired into.
class MemoryHead {
public:
    enum class Kind { Allocated, Custom };

    // Allocated memory gets its storage here (std::bad_alloc when there is none).
    MemoryHead(Kind kind, std::size_t totalBytes, std::int64_t bufferCount);

    // The slot naming this memory (MemorySlots), set by the grabber.
    Fg_Memory* Handle() const { return handle_; }
    void SetHandle(Fg_Memory* handle) { handle_ = handle; }
    Kind HeadKind() const { return kind_; }
    std::int64_t BufferCount() const { return static_cast<std::int64_t>(buffers_.size()); }

    // Custom heads only. FG_OK or an FG_ERR_* code.
    int Add(void* address, std::size_t size, std::int64_t index);
    int Remove(std::int64_t index);
    // True when every buffer of the ring has memory.
    bool Complete() const;

    bool ValidNumber(std::int64_t bufferNumber) const {
        return bufferNumber >= 1 && bufferNumber <= BufferCount();
    }
    std::uint8_t* Address(std::int64_t bufferNumber) const;
    std::size_t BufferSize(std::int64_t bufferNumber) const;
    BufferRecord& Record(std::int64_t bufferNumber) {
        return buffers_[static_cast<std::size_t>(bufferNumber - 1)].record;
    }
    const BufferRecord& Record(std::int64_t bufferNumber) const {
        return buffers_[static_cast<std::size_t>(bufferNumber - 1)].record;
    }
    std::int64_t LockedCount() const;
    // Forget the previous acquisition: no pictures, nothing locked.
    void ResetRecords();

    // The DMA that acquires or last acquired into this memory (-1: none yet), and whether
    // it is acquiring now. Maintained by the grabber.
    Relaxed<int> boundDma = -1;
    bool acquiring = false;

private:
    struct Buffer {
        std::uint8_t* address = nullptr;
        std::size_t size = 0;
        BufferRecord record;
    };

    Relaxed<Fg_Memory*> handle_ = nullptr;
    Kind kind_;
    std::size_t totalBytes_;
    std::size_t addedBytes_ = 0;
    std::unique_ptr<std::uint8_t[]> storage_;
    std::vector<Buffer> buffers_;
};

} // namespace sim

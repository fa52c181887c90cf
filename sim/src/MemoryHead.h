// DMA memory: SDK-allocated buffers or a head of caller-registered buffers, with what the
// engine recorded for each buffer.
#pragma once

#include "DmaConfig.h"
#include "Handles.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

namespace sim {

struct BufferRecord {
    std::int64_t picture = 0; // 0: nothing delivered into this buffer
    std::uint16_t tag = 0;
    std::uint64_t timestamp = 0; // microseconds since the grabber was opened
    std::uint64_t transferLength = 0;
    bool locked = false;
    FrameSetup setup{};
};

// Buffer numbers are 1-based; indices given to add/remove are 0-based (number = index + 1).
//
// Not thread-safe on its own: every instance belongs to one Grabber and is only used
// under that grabber's mutex. The engine writes pixels into a buffer without the mutex,
// which is safe because buffers cannot be removed while the memory is being acquired into.
class MemoryHead {
public:
    enum class Kind { Allocated, Custom };

    // Allocated memory gets its storage here (std::bad_alloc when there is none).
    MemoryHead(Kind kind, std::size_t totalBytes, std::int64_t bufferCount);

    Fg_Memory* handle() { return &m_handle; }
    Kind kind() const { return m_kind; }
    std::int64_t bufferCount() const { return static_cast<std::int64_t>(m_buffers.size()); }

    // Custom heads only. FG_OK or an FG_ERR_* code.
    int add(void* address, std::size_t size, std::int64_t index);
    int remove(std::int64_t index);
    // True when every buffer of the ring has memory.
    bool complete() const;

    bool validNumber(std::int64_t bufferNumber) const {
        return bufferNumber >= 1 && bufferNumber <= bufferCount();
    }
    std::uint8_t* address(std::int64_t bufferNumber) const;
    std::size_t size(std::int64_t bufferNumber) const;
    BufferRecord& record(std::int64_t bufferNumber);
    const BufferRecord& record(std::int64_t bufferNumber) const;
    std::int64_t lockedCount() const;
    // Forget the previous acquisition: no pictures, nothing locked.
    void resetRecords();

    // The DMA that acquires or last acquired into this memory (-1: none yet), and whether
    // it is acquiring now. Maintained by the grabber.
    int boundDma = -1;
    bool acquiring = false;

private:
    struct Buffer {
        std::uint8_t* address = nullptr;
        std::size_t size = 0;
        BufferRecord record;
    };

    Fg_Memory m_handle;
    Kind m_kind;
    std::size_t m_totalBytes;
    std::size_t m_addedBytes = 0;
    std::unique_ptr<std::uint8_t[]> m_storage;
    std::vector<Buffer> m_buffers;
};

} // namespace sim

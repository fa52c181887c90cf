#include "MemoryHead.h"

#include <fglib5.h>

#include <cstring>

namespace sim {

MemoryHead::MemoryHead(Kind kind, std::size_t totalBytes, std::int64_t bufferCount)
    : m_kind(kind), m_totalBytes(totalBytes), m_buffers(static_cast<std::size_t>(bufferCount)) {
    m_handle.serial = nextHandleSerial();
    if (kind == Kind::Allocated) {
        m_storage.reset(new std::uint8_t[totalBytes]);
        std::memset(m_storage.get(), 0, totalBytes);
        const std::size_t each = totalBytes / static_cast<std::size_t>(bufferCount);
        for (std::size_t i = 0; i < m_buffers.size(); ++i) {
            m_buffers[i].address = m_storage.get() + i * each;
            m_buffers[i].size = each;
        }
        m_addedBytes = each * m_buffers.size();
    }
}

int MemoryHead::add(void* address, std::size_t size, std::int64_t index) {
    if (m_kind != Kind::Custom) {
        return FG_ERR_WRONG_MEMORY_KIND;
    }
    if (address == nullptr || size == 0 || index < 0 || index >= bufferCount()) {
        return FG_ERR_INVALID_BUFFER;
    }
    Buffer& buffer = m_buffers[static_cast<std::size_t>(index)];
    if (buffer.address != nullptr) {
        return FG_ERR_BUFFER_EXISTS;
    }
    // The head was created for a total; buffers beyond it would not fit the DMA's table.
    if (size > m_totalBytes - m_addedBytes) {
        return FG_ERR_INVALID_SIZE;
    }
    buffer.address = static_cast<std::uint8_t*>(address);
    buffer.size = size;
    buffer.record = BufferRecord{};
    m_addedBytes += size;
    return FG_OK;
}

int MemoryHead::remove(std::int64_t index) {
    if (m_kind != Kind::Custom) {
        return FG_ERR_WRONG_MEMORY_KIND;
    }
    if (index < 0 || index >= bufferCount() ||
        m_buffers[static_cast<std::size_t>(index)].address == nullptr) {
        return FG_ERR_INVALID_BUFFER;
    }
    Buffer& buffer = m_buffers[static_cast<std::size_t>(index)];
    m_addedBytes -= buffer.size;
    buffer = Buffer{};
    return FG_OK;
}

bool MemoryHead::complete() const {
    for (const Buffer& buffer : m_buffers) {
        if (buffer.address == nullptr) {
            return false;
        }
    }
    return true;
}

std::uint8_t* MemoryHead::address(std::int64_t bufferNumber) const {
    return m_buffers[static_cast<std::size_t>(bufferNumber - 1)].address;
}

std::size_t MemoryHead::size(std::int64_t bufferNumber) const {
    return m_buffers[static_cast<std::size_t>(bufferNumber - 1)].size;
}

BufferRecord& MemoryHead::record(std::int64_t bufferNumber) {
    return m_buffers[static_cast<std::size_t>(bufferNumber - 1)].record;
}

const BufferRecord& MemoryHead::record(std::int64_t bufferNumber) const {
    return m_buffers[static_cast<std::size_t>(bufferNumber - 1)].record;
}

std::int64_t MemoryHead::lockedCount() const {
    std::int64_t count = 0;
    for (const Buffer& buffer : m_buffers) {
        count += buffer.record.locked ? 1 : 0;
    }
    return count;
}

void MemoryHead::resetRecords() {
    for (Buffer& buffer : m_buffers) {
        buffer.record = BufferRecord{};
    }
}

} // namespace sim

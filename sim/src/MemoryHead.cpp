#include "MemoryHead.h"

#include <fglib5.h>

#include <cstring>

namespace sim {

MemoryHead::MemoryHead(Kind kind, std::size_t totalBytes, std::int64_t bufferCount)
    : kind_(kind), totalBytes_(totalBytes), buffers_(static_cast<std::size_t>(bufferCount)) {
    if (kind == Kind::Allocated) {
        storage_.reset(new std::uint8_t[totalBytes]);
        std::memset(storage_.get(), 0, totalBytes);
        const std::size_t each = totalBytes / static_cast<std::size_t>(bufferCount);
        for (std::size_t i = 0; i < buffers_.size(); ++i) {
            buffers_[i].address = storage_.get() + i * each;
            buffers_[i].size = each;
        }
        addedBytes_ = each * buffers_.size();
    }
}

int MemoryHead::Add(void* address, std::size_t size, std::int64_t index) {
    if (kind_ != Kind::Custom) {
        return FG_ERR_WRONG_MEMORY_KIND;
    }
    if (address == nullptr || size == 0 || index < 0 || index >= BufferCount()) {
        return FG_ERR_INVALID_BUFFER;
    }
    Buffer& buffer = buffers_[static_cast<std::size_t>(index)];
    if (buffer.address != nullptr) {
        return FG_ERR_BUFFER_EXISTS;
    }
    // The head was created for a total; buffers beyond it would not fit the DMA's table.
    if (size > totalBytes_ - addedBytes_) {
        return FG_ERR_INVALID_SIZE;
    }
    buffer.address = static_cast<std::uint8_t*>(address);
    buffer.size = size;
    buffer.record = BufferRecord{};
    addedBytes_ += size;
    return FG_OK;
}

int MemoryHead::Remove(std::int64_t index) {
    if (kind_ != Kind::Custom) {
        return FG_ERR_WRONG_MEMORY_KIND;
    }
    if (index < 0 || index >= BufferCount() ||
        buffers_[static_cast<std::size_t>(index)].address == nullptr) {
        return FG_ERR_INVALID_BUFFER;
    }
    Buffer& buffer = buffers_[static_cast<std::size_t>(index)];
    addedBytes_ -= buffer.size;
    buffer = Buffer{};
    return FG_OK;
}

bool MemoryHead::Complete() const {
    for (const Buffer& buffer : buffers_) {
        if (buffer.address == nullptr) {
            return false;
        }
    }
    return true;
}

std::uint8_t* MemoryHead::Address(std::int64_t bufferNumber) const {
    return buffers_[static_cast<std::size_t>(bufferNumber - 1)].address;
}

std::size_t MemoryHead::BufferSize(std::int64_t bufferNumber) const {
    return buffers_[static_cast<std::size_t>(bufferNumber - 1)].size;
}

std::int64_t MemoryHead::LockedCount() const {
    std::int64_t count = 0;
    for (const Buffer& buffer : buffers_) {
        count += buffer.record.locked ? 1 : 0;
    }
    return count;
}

void MemoryHead::ResetRecords() {
    for (Buffer& buffer : buffers_) {
        buffer.record = BufferRecord{};
    }
}

} // namespace sim

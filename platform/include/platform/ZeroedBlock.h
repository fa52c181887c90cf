#pragma once
// A large block of zero-filled memory, such as a ring of image buffers.

#include <cstddef>
#include <cstdint>

namespace platform {

/// Owns `size` bytes that read as zero and are already backed by memory, so that
/// nothing faults in behind a DMA or the first pass over the ring. Large blocks
/// come straight from the operating system, aligned for its large pages where it
/// offers them (the zero fill is then the system's own, done once); small blocks
/// are an ordinary zeroed allocation. Throws std::bad_alloc.
class ZeroedBlock {
public:
    ZeroedBlock() = default;
    explicit ZeroedBlock(size_t size);
    ~ZeroedBlock();
    ZeroedBlock(ZeroedBlock&& other) noexcept;
    ZeroedBlock& operator=(ZeroedBlock&& other) noexcept;
    ZeroedBlock(const ZeroedBlock&) = delete;
    ZeroedBlock& operator=(const ZeroedBlock&) = delete;

    uint8_t* get() const { return data_; }
    size_t size() const { return size_; }
    /// Gives the block up without returning it: a DMA that could not be stopped
    /// may still write into it.
    void Abandon();
    /// Returns a block given up by Abandon, once nothing writes into it any more;
    /// `size` is the size it was made with.
    static void FreeAbandoned(uint8_t* data, size_t size);

private:
    void Release() noexcept;

    uint8_t* data_ = nullptr;
    size_t size_ = 0;
};

} // namespace platform

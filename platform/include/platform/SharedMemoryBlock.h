#pragma once
// A named shared-memory block this process creates and owns (the log service's
// connection record). The block is removed when its owner is destroyed.

#include <cstddef>
#include <memory>
#include <string>

namespace platform {

/// Move-only owner of a created block and of its read-write mapping. Not
/// thread-safe; readers in other processes see writes as they happen.
class SharedMemoryBlock {
public:
    SharedMemoryBlock();
    /// Creates `name` with `size` zero bytes (size above 0). An existing block of
    /// that name is an error unless `replaceExisting`, which removes it first (left
    /// over by an owner that crashed). An empty block and `error` on failure.
    static SharedMemoryBlock Create(const std::string& name, size_t size,
                                    std::string* error = nullptr, bool replaceExisting = false);
    /// Removes a block by name; false when there was none.
    static bool Remove(const std::string& name);

    SharedMemoryBlock(const SharedMemoryBlock&) = delete;
    SharedMemoryBlock& operator=(const SharedMemoryBlock&) = delete;
    SharedMemoryBlock(SharedMemoryBlock&& other) noexcept;
    SharedMemoryBlock& operator=(SharedMemoryBlock&& other) noexcept;
    ~SharedMemoryBlock();

    explicit operator bool() const;
    /// The mapped bytes; null when empty.
    void* get() const;
    size_t size() const;
    const std::string& name() const;

    /// Copies `size` bytes to `offset`; false when that reaches past the end.
    bool Write(size_t offset, const void* data, size_t size);

    /// Unmaps the block but leaves it in place for others; answers its name.
    std::string release();
    /// Unmaps and removes the block now.
    void reset();

private:
    struct Impl;
    explicit SharedMemoryBlock(std::unique_ptr<Impl> impl);
    std::unique_ptr<Impl> impl_;
};

} // namespace platform

#pragma once
// Reading a named shared-memory block that another process created. Names are
// Boost.Interprocess names; on Linux a block lives in /dev/shm under its name, and
// a name may contain '\' (so "Global\\name" works) but not '/'.

#include <platform/SharedMemoryBlock.h>

#include <cstddef>
#include <cstdint>
#include <string>

namespace platform {

struct SharedMemoryReadResult {
    bool opened = false;    // false: no such block, or it cannot be read
    uint64_t blockSize = 0; // the whole block's size
    size_t copied = 0;      // bytes copied: the lower of the block's and the buffer's size
    std::string error;      // why it could not be opened or read
};

/// Opens `name` read-only, copies its first bytes into `buffer` and closes it again.
SharedMemoryReadResult ReadSharedMemory(const std::string& name, void* buffer, size_t size);

} // namespace platform

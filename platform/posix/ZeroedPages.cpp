// Large zero-filled blocks on POSIX: anonymous mappings aligned for transparent
// huge pages.

#include "ZeroedPages.h"

#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>

namespace platform::detail {

size_t SystemPageSize() {
    const long size = ::sysconf(_SC_PAGESIZE);
    return size > 0 ? static_cast<size_t>(size) : 4096;
}

uint8_t* MapZeroedPages(size_t size) {
    // Anonymous mappings read as zero. One large page more than needed lets the block
    // start on a large-page boundary; the excess is unmapped again.
    if (size > SIZE_MAX - kLargeBlock)
        return nullptr;
    const size_t mappingSize = size + kLargeBlock;
    void* mapping =
        ::mmap(nullptr, mappingSize, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (mapping == MAP_FAILED)
        return nullptr;
    const uintptr_t start = reinterpret_cast<uintptr_t>(mapping);
    const uintptr_t aligned = (start + kLargeBlock - 1) & ~(uintptr_t{kLargeBlock} - 1);
    const size_t head = aligned - start;
    const size_t tail = mappingSize - head - size;
    if (head != 0)
        ::munmap(mapping, head);
    if (tail != 0)
        ::munmap(reinterpret_cast<void*>(aligned + size), tail);
    uint8_t* data = reinterpret_cast<uint8_t*>(aligned);
#ifdef MADV_HUGEPAGE
    // Only a hint: where the kernel offers no huge pages the block stays in ordinary
    // ones.
    ::madvise(data, size, MADV_HUGEPAGE);
#endif
    return data;
}

void UnmapZeroedPages(uint8_t* data, size_t size) {
    ::munmap(data, size);
}

} // namespace platform::detail

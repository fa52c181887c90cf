// Large zero-filled blocks on Windows: VirtualAlloc hands out zeroed pages.

#include "WindowsApi.h"

#include "ZeroedPages.h"

namespace platform::detail {

size_t SystemPageSize() {
    SYSTEM_INFO info{};
    ::GetSystemInfo(&info);
    return info.dwPageSize != 0 ? info.dwPageSize : 4096;
}

uint8_t* MapZeroedPages(size_t size) {
    return static_cast<uint8_t*>(
        ::VirtualAlloc(nullptr, size, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE));
}

void UnmapZeroedPages(uint8_t* data, size_t) {
    ::VirtualFree(data, 0, MEM_RELEASE);
}

} // namespace platform::detail

#include "WindowsApi.h"

#include <platform/SharedMemory.h>

#include "SharedMemoryName.h"
#include "Win32Error.h"

#include <algorithm>
#include <cstring>

namespace platform {
namespace {

// The section's own size: a view's region is rounded up to whole pages, which would
// report bytes the writer never gave the block.
bool SectionSize(HANDLE mapping, uint64_t* size) {
    struct SectionBasicInformation {
        void* base;
        ULONG attributes;
        LARGE_INTEGER size;
    };
    using QuerySection = LONG(WINAPI*)(HANDLE, int, void*, ULONG, ULONG*);
    HMODULE ntdll = ::GetModuleHandleA("ntdll.dll");
    auto query = ntdll != nullptr ? reinterpret_cast<QuerySection>(reinterpret_cast<void*>(
                                        ::GetProcAddress(ntdll, "NtQuerySection")))
                                  : nullptr;
    SectionBasicInformation information{};
    if (query == nullptr || query(mapping, 0, &information, sizeof information, nullptr) < 0 ||
        information.size.QuadPart < 0)
        return false;
    *size = static_cast<uint64_t>(information.size.QuadPart);
    return true;
}

} // namespace

SharedMemoryReadResult ReadSharedMemory(const std::string& name, void* buffer, size_t size) {
    SharedMemoryReadResult result;
    result.error = win32::SharedMemoryNameProblem(name);
    if (!result.error.empty())
        return result;
    if (buffer == nullptr && size != 0) {
        result.error = "no buffer";
        return result;
    }
    HANDLE mapping = nullptr;
    DWORD error = ERROR_FILE_NOT_FOUND;
    for (const std::string& objectName : win32::SharedMemoryObjectNames(name)) {
        // SECTION_QUERY: the block's size is read from the section itself.
        mapping = ::OpenFileMappingA(FILE_MAP_READ | SECTION_QUERY, FALSE, objectName.c_str());
        if (mapping != nullptr)
            break;
        error = ::GetLastError();
    }
    if (mapping == nullptr) {
        result.error = "shared memory block '" + name + "': " + win32::ErrorText(error);
        return result;
    }
    uint64_t blockSize = 0;
    if (!SectionSize(mapping, &blockSize)) {
        ::CloseHandle(mapping);
        result.error = "cannot read the size of shared memory block '" + name + "'";
        return result;
    }
    const size_t count = static_cast<size_t>(std::min<uint64_t>(blockSize, size));
    if (count > 0) {
        void* view = ::MapViewOfFile(mapping, FILE_MAP_READ, 0, 0, count);
        if (view == nullptr) {
            error = ::GetLastError();
            ::CloseHandle(mapping);
            result.error = "shared memory block '" + name + "': " + win32::ErrorText(error);
            return result;
        }
        std::memcpy(buffer, view, count);
        ::UnmapViewOfFile(view);
    }
    ::CloseHandle(mapping);
    result.blockSize = blockSize;
    result.copied = count;
    result.opened = true;
    return result;
}

} // namespace platform

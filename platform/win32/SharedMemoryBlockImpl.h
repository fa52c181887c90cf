#pragma once
// What a SharedMemoryBlock holds on Windows: a named file mapping backed by the
// paging file, and its view. Windows removes the mapping when its last handle
// closes, so a block never outlives every process that had it open.

#include "WindowsApi.h"

#include <platform/SharedMemoryBlock.h>

#include <string>

namespace platform {

struct SharedMemoryBlock::Impl {
    std::string name;
    HANDLE mapping = nullptr;
    void* view = nullptr;
    size_t size = 0;

    ~Impl() {
        if (view != nullptr)
            ::UnmapViewOfFile(view);
        if (mapping != nullptr)
            ::CloseHandle(mapping);
    }
    void* Address() const { return view; }
    size_t Size() const { return size; }
};

} // namespace platform

#pragma once
// Writes to a C run-time descriptor's Win32 handle, retrying short writes. Included
// only by the win32 sources, after WindowsApi.h.

#include <cstddef>
#include <system_error>

namespace platform {
namespace win32 {

struct WriteOutcome {
    size_t written = 0;
    bool complete = false;
    std::error_code error;
};

/// The handle behind a descriptor (0, 1, 2 or one the C run-time opened), or
/// INVALID_HANDLE_VALUE.
HANDLE DescriptorHandle(int fd);

WriteOutcome WriteAll(HANDLE handle, const void* data, size_t size);

} // namespace win32
} // namespace platform

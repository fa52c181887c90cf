#include "WindowsApi.h"

#include "HandleIo.h"
#include "Win32Error.h"

#include <io.h>

namespace platform {
namespace win32 {

HANDLE DescriptorHandle(int fd) {
    if (fd < 0)
        return INVALID_HANDLE_VALUE;
    return reinterpret_cast<HANDLE>(::_get_osfhandle(fd));
}

WriteOutcome WriteAll(HANDLE handle, const void* data, size_t size) {
    WriteOutcome outcome;
    if (handle == INVALID_HANDLE_VALUE || handle == nullptr) {
        outcome.error = MakeError(ERROR_INVALID_HANDLE);
        return outcome;
    }
    const char* bytes = static_cast<const char*>(data);
    while (outcome.written < size) {
        const size_t left = size - outcome.written;
        const DWORD chunk = left > 0x40000000 ? 0x40000000 : static_cast<DWORD>(left);
        DWORD done = 0;
        if (!::WriteFile(handle, bytes + outcome.written, chunk, &done, nullptr)) {
            outcome.error = MakeError(::GetLastError());
            return outcome;
        }
        if (done == 0) {
            outcome.error = MakeError(ERROR_WRITE_FAULT);
            return outcome;
        }
        outcome.written += done;
    }
    outcome.complete = true;
    return outcome;
}

} // namespace win32
} // namespace platform

#include "WindowsApi.h"

#include <platform/Process.h>

#include <vector>

namespace platform {
namespace {

std::string FileNameOf(HMODULE module) {
    std::vector<char> buffer(MAX_PATH);
    for (;;) {
        const DWORD n =
            ::GetModuleFileNameA(module, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (n == 0)
            return std::string();
        // A full buffer means the name was cut.
        if (n < buffer.size())
            return std::string(buffer.data(), n);
        if (buffer.size() >= 32768)
            return std::string();
        buffer.resize(buffer.size() * 2);
    }
}

} // namespace

uint32_t CurrentProcessId() {
    return ::GetCurrentProcessId();
}

uint64_t CurrentThreadId() {
    return ::GetCurrentThreadId();
}

uint32_t AnsiCodePage() {
    return ::GetACP();
}

std::string ModuleFileName(const void* address) {
    if (address == nullptr)
        return ExecutablePath();
    HMODULE module = nullptr;
    if (!::GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                                  GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                              static_cast<LPCSTR>(address), &module))
        return std::string();
    return FileNameOf(module);
}

std::string ExecutablePath() {
    return FileNameOf(nullptr);
}

std::string ExecutableName() {
    std::string path = ExecutablePath();
    std::string::size_type slash = path.find_last_of("\\/");
    std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    std::string::size_type dot = name.rfind('.');
    if (dot != std::string::npos && dot > 0)
        name.erase(dot);
    return name;
}

void EndProcessNow(int status) {
    ::TerminateProcess(::GetCurrentProcess(), static_cast<UINT>(status));
    // Not reached: the call does not return for the calling process.
    for (;;)
        ::Sleep(INFINITE);
}

} // namespace platform

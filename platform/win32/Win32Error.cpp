#include "WindowsApi.h"

#include "Win32Error.h"

namespace platform {
namespace win32 {

std::string ErrorText(uint32_t code) {
    char* text = nullptr;
    const DWORD length = ::FormatMessageA(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, code, 0, reinterpret_cast<LPSTR>(&text), 0, nullptr);
    if (length == 0 || text == nullptr)
        return "error " + std::to_string(code);
    std::string result(text, length);
    ::LocalFree(text);
    while (!result.empty() && (result.back() == '\n' || result.back() == '\r' ||
                               result.back() == ' ' || result.back() == '.'))
        result.pop_back();
    return result + " (error " + std::to_string(code) + ")";
}

} // namespace win32
} // namespace platform

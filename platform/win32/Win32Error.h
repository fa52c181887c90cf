#pragma once
// Texts and error codes for Win32 failures. Included only by the win32 sources,
// after WindowsApi.h.

#include <cstdint>
#include <string>
#include <system_error>

namespace platform {
namespace win32 {

/// The system's text for a Win32 error code, without the trailing line break.
std::string ErrorText(uint32_t code);

/// A Win32 or Winsock error code as an error_code of the system category.
inline std::error_code MakeError(uint32_t code) {
    return std::error_code(static_cast<int>(code), std::system_category());
}

} // namespace win32
} // namespace platform

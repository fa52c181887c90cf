#include <ddk/Helper.h>

#include <ddk/DDKException.h>

#include <platform/Environment.h>

namespace {

constexpr size_t kVariableBuffer = 256;

/// The value of `name` read through a 256-byte buffer, or the framework's error.
std::string ReadVariable(const std::string& name) {
    char buffer[kVariableBuffer];
    const platform::EnvReadResult read = platform::ReadEnv(name, buffer, sizeof buffer);
    switch (read.status) {
    case platform::EnvStatus::Ok:
        return std::string(buffer, read.length);
    case platform::EnvStatus::NotFound:
        DDK_THROW_GENERIC("Helper", "Environment variable '%s' not found", name.c_str());
    case platform::EnvStatus::TooLarge:
        DDK_THROW_GENERIC("Helper",
                          "Environment variable's content too large (must be <256 chars)");
    case platform::EnvStatus::Error:
        break;
    }
    DDK_THROW_GENERIC("Helper", "Unknown error %u while reading environment variable '%s'",
                      read.errorCode, name.c_str());
}

} // namespace

std::string ExpandEnvironmentReference(const std::string& text) {
    const size_t open = text.find("$(");
    if (open != std::string::npos) {
        const size_t close = text.find(')', open + 2);
        if (close != std::string::npos) {
            const std::string name = text.substr(open + 2, close - open - 2);
            return text.substr(0, open) + ReadVariable(name) + text.substr(close + 1);
        }
    }
    // The only other form ever seen, "%%", names the empty variable, which never
    // exists; such text is left as it stands.
    return text;
}

std::string NarrowText(const std::wstring& text) {
    std::string narrow;
    narrow.reserve(text.size());
    for (wchar_t c : text)
        // wchar_t is signed 32-bit on Linux, unsigned 16-bit on Windows.
        narrow.push_back(static_cast<uint32_t>(c) < 0x80 ? static_cast<char>(c) : '?');
    return narrow;
}

std::wstring WideText(const std::string& text) {
    return std::wstring(text.begin(), text.end());
}

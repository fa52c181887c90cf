#include "WindowsApi.h"

#include <platform/TemporaryFiles.h>

#include "Win32Error.h"

#include <atomic>
#include <cstdio>
#include <system_error>

namespace platform {
namespace {

std::atomic<uint32_t> g_counter{0};

std::string TemporaryFolder() {
    char buffer[MAX_PATH + 1] = {};
    const DWORD length = ::GetTempPathA(sizeof buffer, buffer);
    if (length == 0 || length > MAX_PATH)
        throw std::system_error(win32::MakeError(::GetLastError()), "GetTempPathA");
    return std::string(buffer, length);
}

/// A name unlikely to be taken; the callers still create it exclusively and try
/// again when another process holds it.
std::string Candidate(const std::string& folder, const std::string& prefix) {
    const auto mix = static_cast<uint32_t>(::GetTickCount64()) * 2654435761u ^
                     ::GetCurrentProcessId() << 16 ^ g_counter.fetch_add(1) * 40503u;
    char suffix[16];
    std::snprintf(suffix, sizeof suffix, "-%08x", static_cast<unsigned>(mix));
    return folder + prefix + suffix;
}

constexpr int kAttempts = 100;

} // namespace

std::string MakeTemporaryDirectory(const std::string& prefix) {
    const std::string folder = TemporaryFolder();
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        const std::string path = Candidate(folder, prefix);
        if (::CreateDirectoryA(path.c_str(), nullptr))
            return path;
        const DWORD error = ::GetLastError();
        if (error != ERROR_ALREADY_EXISTS)
            throw std::system_error(win32::MakeError(error), "CreateDirectoryA " + path);
    }
    throw std::system_error(win32::MakeError(ERROR_ALREADY_EXISTS), "no free name in " + folder);
}

std::string MakeTemporaryFile(const std::string& prefix) {
    const std::string folder = TemporaryFolder();
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        const std::string path = Candidate(folder, prefix);
        HANDLE file = ::CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                    nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file != INVALID_HANDLE_VALUE) {
            ::CloseHandle(file);
            return path;
        }
        const DWORD error = ::GetLastError();
        if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS)
            throw std::system_error(win32::MakeError(error), "CreateFileA " + path);
    }
    throw std::system_error(win32::MakeError(ERROR_FILE_EXISTS), "no free name in " + folder);
}

} // namespace platform

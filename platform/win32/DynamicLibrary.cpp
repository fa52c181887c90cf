#include "WindowsApi.h"

#include <platform/DynamicLibrary.h>

#include <platform/Path.h>

#include "Win32Error.h"

#include <algorithm>
#include <cstring>

namespace platform {
namespace {

// A plain array, not a std::string: no destructor to run at thread exit.
thread_local char t_lastLoadError[1024];

void SetLastLoadError(const std::string& text) {
    const size_t length = std::min(text.size(), sizeof t_lastLoadError - 1);
    std::memcpy(t_lastLoadError, text.data(), length);
    t_lastLoadError[length] = '\0';
}

} // namespace

LibraryHandle LoadLibrary(const std::string& path) {
    if (path.empty()) {
        SetLastLoadError("empty library name");
        return nullptr;
    }
    // The loader wants back slashes in a path; a missing library must fail, not ask.
    const std::string native = ToNativePath(path);
    DWORD previousMode = 0;
    ::SetThreadErrorMode(SEM_FAILCRITICALERRORS, &previousMode);
    HMODULE module = ::LoadLibraryA(native.c_str());
    const DWORD error = ::GetLastError();
    ::SetThreadErrorMode(previousMode, nullptr);
    if (module == nullptr) {
        SetLastLoadError(native + ": " + win32::ErrorText(error));
        return nullptr;
    }
    return reinterpret_cast<LibraryHandle>(module);
}

void* ResolveSymbol(LibraryHandle library, const char* name) {
    if (library == nullptr || name == nullptr)
        return nullptr;
    return reinterpret_cast<void*>(::GetProcAddress(static_cast<HMODULE>(library), name));
}

bool FreeLibrary(LibraryHandle library) {
    if (library == nullptr)
        return false;
    return ::FreeLibrary(static_cast<HMODULE>(library)) != 0;
}

std::string LastLoadError() {
    return t_lastLoadError;
}

} // namespace platform

#include "WindowsApi.h"

#include "DebugOutputSystem.h"

#include <platform/Path.h>

#include "HandleIo.h"

#include <mutex>

namespace platform {
namespace debugoutput {
namespace {

// Appends from several threads through handles of their own may interleave or
// overwrite each other (Wine does not keep FILE_APPEND_DATA writes apart), so the
// process appends one message at a time.
std::mutex g_appendLock;

} // namespace

bool AppendToFile(const std::string& path, const std::string& text) {
    std::lock_guard<std::mutex> guard(g_appendLock);
    HANDLE file = ::CreateFileA(ToNativePath(path).c_str(), FILE_APPEND_DATA,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    const bool complete = win32::WriteAll(file, text.data(), text.size()).complete;
    ::CloseHandle(file);
    return complete;
}

void WriteToSystem(const std::string& text) {
    ::OutputDebugStringA(text.c_str());
}

} // namespace debugoutput
} // namespace platform

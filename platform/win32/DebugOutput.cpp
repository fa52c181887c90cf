#include "WindowsApi.h"

#include <platform/DebugOutput.h>

#include <platform/Environment.h>
#include <platform/Path.h>

#include "HandleIo.h"

#include <mutex>

namespace platform {
namespace {

std::mutex g_hookLock;
DebugOutputHook g_hook; // guarded by g_hookLock

// Appends from several threads through handles of their own may interleave or
// overwrite each other (Wine does not keep FILE_APPEND_DATA writes apart), so the
// process appends one message at a time.
std::mutex g_appendLock;

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

} // namespace

void OutputDebugText(const std::string& text) {
    DebugOutputHook hook;
    {
        std::lock_guard<std::mutex> guard(g_hookLock);
        hook = g_hook;
    }
    if (hook) {
        hook(text);
        return;
    }
    // The file lets a test or a user without a debugger read the messages.
    std::optional<std::string> file = GetEnv("ORV_DEBUG_OUTPUT_FILE");
    if (file && !file->empty() && AppendToFile(*file, text))
        return;
    ::OutputDebugStringA(text.c_str());
}

void SetDebugOutputHook(DebugOutputHook hook) {
    std::lock_guard<std::mutex> guard(g_hookLock);
    g_hook = std::move(hook);
}

} // namespace platform

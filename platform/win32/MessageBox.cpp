#include "WindowsApi.h"

#include <platform/MessageBox.h>

#include <mutex>

namespace platform {
namespace {

std::mutex g_hookLock;
MessageBoxHook g_hook; // guarded by g_hookLock

} // namespace

int ShowMessageBox(const std::string& caption, const std::string& text, uint32_t flags) {
    MessageBoxHook hook;
    {
        std::lock_guard<std::mutex> guard(g_hookLock);
        hook = g_hook;
    }
    if (hook)
        return hook(caption, text, flags);
    // Blocks until the user answers; tests install the hook instead.
    return ::MessageBoxA(nullptr, text.c_str(), caption.c_str(), flags);
}

void SetMessageBoxHook(MessageBoxHook hook) {
    std::lock_guard<std::mutex> guard(g_hookLock);
    g_hook = std::move(hook);
}

} // namespace platform

#include <platform/MessageBox.h>

#include "FdIo.h"

#include <mutex>
#include <unistd.h>

namespace platform {
namespace {

std::mutex g_hookLock;
MessageBoxHook g_hook; // guarded by g_hookLock

// The box becomes one line of the error stream, whatever line breaks the text has.
std::string OneLine(const std::string& text) {
    std::string line = text;
    for (char& c : line) {
        if (c == '\n' || c == '\r')
            c = ' ';
    }
    return line;
}

} // namespace

int ShowMessageBox(const std::string& caption, const std::string& text, uint32_t flags) {
    MessageBoxHook hook;
    {
        std::lock_guard<std::mutex> guard(g_hookLock);
        hook = g_hook;
    }
    if (hook)
        return hook(caption, text, flags);
    const std::string line = "[" + OneLine(caption) + "] " + OneLine(text) + "\n";
    posix::WriteAll(STDERR_FILENO, line.data(), line.size());
    return kMessageBoxAnswerOk;
}

void SetMessageBoxHook(MessageBoxHook hook) {
    std::lock_guard<std::mutex> guard(g_hookLock);
    g_hook = std::move(hook);
}

} // namespace platform

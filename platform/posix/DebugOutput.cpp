#include <platform/DebugOutput.h>

#include <platform/Environment.h>
#include <platform/Path.h>

#include "FdIo.h"
#include "UniqueFd.h"

#include <fcntl.h>
#include <mutex>
#include <unistd.h>

namespace platform {
namespace {

std::mutex g_hookLock;
DebugOutputHook g_hook; // guarded by g_hookLock

bool AppendToFile(const std::string& path, const std::string& text) {
    posix::UniqueFd fd(
        ::open(ToNativePath(path).c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0644));
    if (!fd)
        return false;
    return posix::WriteAll(fd.get(), text.data(), text.size()).complete;
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
    std::optional<std::string> file = GetEnv("ORV_DEBUG_OUTPUT_FILE");
    // A file that cannot be opened must not swallow the message: fall back to stderr.
    if (file && !file->empty() && AppendToFile(*file, text))
        return;
    posix::WriteAll(STDERR_FILENO, text.data(), text.size());
}

void SetDebugOutputHook(DebugOutputHook hook) {
    std::lock_guard<std::mutex> guard(g_hookLock);
    g_hook = std::move(hook);
}

} // namespace platform

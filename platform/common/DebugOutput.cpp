// Where a debugger message goes, the same on every system: the test hook, else
// the file named by ORV_DEBUG_OUTPUT_FILE (so a test, or a user without a
// debugger, can read the messages), else the system's own channel.
#include <platform/DebugOutput.h>

#include <platform/Environment.h>

#include "DebugOutputSystem.h"

#include <mutex>

namespace platform {
namespace {

std::mutex g_hookLock;
DebugOutputHook g_hook; // guarded by g_hookLock

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
    const std::optional<std::string> file = GetEnv("ORV_DEBUG_OUTPUT_FILE");
    // A file that cannot be opened must not swallow the message.
    if (file && !file->empty() && debugoutput::AppendToFile(*file, text))
        return;
    debugoutput::WriteToSystem(text);
}

void SetDebugOutputHook(DebugOutputHook hook) {
    std::lock_guard<std::mutex> guard(g_hookLock);
    g_hook = std::move(hook);
}

} // namespace platform

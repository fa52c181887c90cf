#pragma once
// Text for an attached debugger (OutputDebugStringA on Windows, standard error on
// POSIX), or appended to the file named by ORV_DEBUG_OUTPUT_FILE when that is set
// (the file is opened for each call, so it can be read back while the process
// runs; one that cannot be opened falls back to the debugger channel). The text is
// written as given; callers add their own line feeds.

#include <functional>
#include <string>

namespace platform {

using DebugOutputHook = std::function<void(const std::string& text)>;

void OutputDebugText(const std::string& text);

/// Routes later calls to `hook`; an empty function restores the default. For tests.
void SetDebugOutputHook(DebugOutputHook hook);

} // namespace platform

#pragma once
// The SDK's own description of a failure, for the log. The driver's line keeps its
// text; the SDK's reason follows as a line of its own, "SDK: " + the reason, at the
// level of the driver's line, so that the cause (an applet file's line, a machine
// description's error, a refused memory) is in the log next to the failure.

#include <fglib5.h>

#include <nwLogging/LogMacros.h>
#include <nwLogging/nwLogging.h>

#include <cstdint>
#include <string>

/// The frame-grabber library's text for the last failure of `grabber`, or of the
/// calling thread's last call without a (valid) grabber when it is null. Empty when
/// the library offers none. Ask right after the failing call: a later failure
/// replaces it.
std::string FgLastErrorText(Fg_Grabber* grabber);

/// Logs `prefix` + "SDK: " + `reason` at `level`; nothing when `reason` is empty.
template <class Prefix>
void LogSdkReason(const nwLogging::logger_ptr& log, uint32_t level, const Prefix& prefix,
                  const std::string& reason) {
    if (reason.empty())
        return;
    NWLOG(log, level, prefix << "SDK: " << reason);
}

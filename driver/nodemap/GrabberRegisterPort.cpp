#include "nodemap/GrabberRegisterPort.h"

#include "board/DriverBoard.h"
#include "board/DriverChannel.h"
#include "sdk/SdkErrorText.h"

#include <ORV/ResultCodes.h>

#include <nwLogging/LogMacros.h>

#include <algorithm>
#include <cstring>
#include <exception>
#include <string>
#include <vector>

namespace {

/// Runs `access`; an allocation that fails counts as a failed access, since no
/// exception may cross back into the node-map library.
template <class Access> bool NoThrow(Access access) {
    try {
        return access();
    } catch (const std::exception&) {
        return false;
    }
}

std::vector<uint8_t> Scratch(int64_t length) {
    return std::vector<uint8_t>(
        std::max(static_cast<size_t>(length), CGrabberRegisterPort::MinimumScratch), 0);
}

} // namespace

int32_t CGrabberRegisterPort::Read(void* buffer, int64_t address, int64_t length, void* context) {
    if (BadArguments(buffer, length, context))
        return ORV::E_INVALIDARG;
    auto& channel = *static_cast<CDriverChannel*>(context);
    std::string reason;
    const bool read = NoThrow([&] {
        std::vector<uint8_t> value = Scratch(length);
        Fg_Grabber* grabber = channel.DriverBoard().Grabber();
        if (Fg_GetParameter(grabber, static_cast<int>(address), value.data(), channel.DmaIndex()) !=
            0) {
            reason = FgLastErrorText(grabber);
            return false;
        }
        if (length > 0)
            std::memcpy(buffer, value.data(), static_cast<size_t>(length));
        return true;
    });
    if (!read) {
        NWLOG_HERE(channel.Log(), nwLogging::level_warn, "DriverChannel",
                   "Error FG read: " << address);
        LogSdkReason(channel.Log(), nwLogging::level_warn, "", reason);
        return ORV::E_FAIL;
    }
    return ORV::OK;
}

int32_t CGrabberRegisterPort::Write(const void* buffer, int64_t address, int64_t length,
                                    void* context) {
    if (BadArguments(buffer, length, context))
        return ORV::E_INVALIDARG;
    auto& channel = *static_cast<CDriverChannel*>(context);
    // A parameter wider than the node map's register reads zeros beyond it, never
    // the caller's memory.
    std::string reason;
    const bool written = NoThrow([&] {
        std::vector<uint8_t> value = Scratch(length);
        if (length > 0)
            std::memcpy(value.data(), buffer, static_cast<size_t>(length));
        Fg_Grabber* grabber = channel.DriverBoard().Grabber();
        if (Fg_SetParameter(grabber, static_cast<int>(address), value.data(), channel.DmaIndex()) ==
            0)
            return true;
        reason = FgLastErrorText(grabber);
        return false;
    });
    if (!written) {
        NWLOG_HERE(channel.Log(), nwLogging::level_warn, "DriverChannel",
                   "Error FG write: " << address);
        LogSdkReason(channel.Log(), nwLogging::level_warn, "", reason);
        return ORV::E_FAIL;
    }
    return ORV::OK;
}

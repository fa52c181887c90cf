#include "nodemap/GigERegisterPort.h"

#include "board/DriverChannel.h"
#include "system/DriverSystem.h"

#include <ORV/ResultCodes.h>

#include <nwLogging/LogMacros.h>

#include <algorithm>
#include <exception>
#include <vector>

bool CGigERegisterPort::ReversedRuntime(const CDriverChannel& channel) {
    const RuntimeVersion& runtime = channel.System().Runtime();
    return runtime.major == 5 && runtime.minor == 1;
}

int32_t CGigERegisterPort::Read(void* buffer, int64_t address, int64_t length, void* context) {
    if (BadArguments(buffer, length, context))
        return ORV::E_INVALIDARG;
    auto& channel = *static_cast<CDriverChannel*>(context);
    const int result = Gbe_MemoryRead(channel.GigECamera(), buffer, static_cast<uint64_t>(address),
                                      static_cast<size_t>(length));
    if (result != 0) {
        NWLOG_HERE(channel.Log(), nwLogging::level_warn, "DriverChannel",
                   "Error register read: " << Gbe_ErrorText(result));
        return ORV::E_FAIL;
    }
    if (!ReversedRuntime(channel)) {
        auto* bytes = static_cast<uint8_t*>(buffer);
        std::reverse(bytes, bytes + length);
    }
    return ORV::OK;
}

int32_t CGigERegisterPort::Write(const void* buffer, int64_t address, int64_t length,
                                 void* context) {
    if (BadArguments(buffer, length, context))
        return ORV::E_INVALIDARG;
    auto& channel = *static_cast<CDriverChannel*>(context);
    const auto* bytes = static_cast<const uint8_t*>(buffer);
    int result = GBE_ERR_INVALID_ARGUMENT;
    try {
        // The caller's bytes are its own: the reversed order goes into a copy.
        std::vector<uint8_t> data(bytes, bytes + length);
        if (ReversedRuntime(channel))
            std::reverse(data.begin(), data.end());
        result = Gbe_MemoryWrite(channel.GigECamera(), data.data(), static_cast<uint64_t>(address),
                                 data.size());
    } catch (const std::exception&) {
        // No memory for the copy: a failed write, as no exception may reach the
        // node-map library.
    }
    if (result != 0) {
        NWLOG_HERE(channel.Log(), nwLogging::level_warn, "DriverChannel", "Error register write");
        return ORV::E_FAIL;
    }
    return ORV::OK;
}

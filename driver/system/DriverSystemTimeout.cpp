// CDriverSystem: the channel's default time-out from the host's registry.
#include "system/DriverSystem.h"

#include <ORCUtilities/ORCUtilities.h>

#include <nwLogging/LogMacros.h>

#include <platform/Registry.h>

#include <algorithm>

uint32_t CDriverSystem::DefaultTimeoutSeconds() const {
    namespace registry = platform::registry;
    const char* const subKey = "";
    uint32_t milliseconds = 0xFFFFFFFF; // unread: 4294967 seconds
    registry::KeyHandle handle = nullptr;
    if (ORCUtilities_OpenProductKey(subKey, registry::KEY_READ, &handle, nullptr) != 0) {
        NWLOG_AT(log_, nwLogging::level_err, "DriverSystem", 178,
                 "Could not open ORV register key: " << subKey << " err " << 1);
    } else {
        const registry::ScopedKey key(handle);
        uint32_t value = 0;
        if (registry::QueryDword(key.get(), "Default Timeout", &value) == registry::ERROR_SUCCESS)
            milliseconds = value;
        else
            NWLOG_AT(log_, nwLogging::level_err, "DriverSystem", 191,
                     "Could not open ORV register value: " << subKey << "\\"
                                                           << "Default Timeout"
                                                           << " err " << 1);
    }
    return std::max<uint32_t>(milliseconds / 1000, 1);
}

#pragma once

#include <cstdint>

/// What every register port of a channel shares with the host's node-map
/// library: the third port operation, and the checks of the callbacks' arguments.
struct CRegisterPort {
    /// The access query passed with every port: always 4, whatever the range.
    static int32_t Access(int64_t address, int64_t length, void* context) {
        (void)address;
        (void)length;
        (void)context;
        return 4;
    }

    /// A read or write the port refuses with 0x80000002: no context, a negative
    /// length, or no buffer for a length above zero.
    static bool BadArguments(const void* buffer, int64_t length, const void* context) {
        return context == nullptr || length < 0 || (buffer == nullptr && length > 0);
    }
};

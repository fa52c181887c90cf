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
};

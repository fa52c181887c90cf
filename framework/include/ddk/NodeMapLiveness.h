#pragma once

#include <cstdint>

/// Module-wide record of node maps handed to the host and still alive: channel
/// key to bits (1 camera node map, 2 DMA node map). The module refuses to unload
/// while any entry is non-zero. Thread-safe.
class CNodeMapLiveness {
public:
    static constexpr uint32_t CameraBit = 1;
    static constexpr uint32_t DmaBit = 2;

    /// Sets `bits` in the entry of `channelKey`; answers the new value.
    static uint32_t Set(uint32_t channelKey, uint32_t bits);
    /// Clears `bits`; answers the new value.
    static uint32_t Clear(uint32_t channelKey, uint32_t bits);
    static uint32_t Get(uint32_t channelKey);
    /// True when some entry is non-zero (walked in key order, stopping at the first).
    static bool AnyAlive();
};

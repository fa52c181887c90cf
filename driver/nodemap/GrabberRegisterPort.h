#pragma once

#include "nodemap/RegisterPort.h"
#include <FgTypeWidth.h>

#include <cstddef>
#include <cstdint>

class CDriverChannel;

/// The register port of a DMA node map: each register address is an SDK
/// parameter id of the channel's DMA. The SDK reads and writes a parameter in
/// its own width, whatever the node map asks for, so the port goes through a
/// scratch buffer and copies only the `length` bytes the node map owns.
///
/// Callbacks of the host's node-map library, called on host threads without any
/// lock; `context` is the channel. Results as CGigERegisterPort.
struct CGrabberRegisterPort : CRegisterPort {
    /// Bytes the scratch buffer has at least; wider than any numeric parameter.
    static constexpr size_t MinimumScratch = 64;
    static_assert(MinimumScratch >= WidestSdkType, "the scratch holds a value of every SDK type");

    static int32_t Read(void* buffer, int64_t address, int64_t length, void* context);
    static int32_t Write(const void* buffer, int64_t address, int64_t length, void* context);
};

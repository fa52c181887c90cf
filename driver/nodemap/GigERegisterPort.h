#pragma once

#include "nodemap/RegisterPort.h"

#include <cstdint>

class CDriverChannel;

/// The register port of a GigE camera node map: the camera's memory through the
/// GigE library. The library hands register bytes over in the wire's order on
/// every runtime but 5.1, which reverses reads itself and expects reversed
/// writes; the port evens that out so the node map always sees the same bytes.
///
/// Callbacks of the host's node-map library, called on host threads without any
/// lock; `context` is the channel. Results: 0, 0x80000001 for a failed access,
/// 0x80000002 for a null context, buffer or negative length.
struct CGigERegisterPort : CRegisterPort {
    static int32_t Read(void* buffer, int64_t address, int64_t length, void* context);
    static int32_t Write(const void* buffer, int64_t address, int64_t length, void* context);
    /// Runtime 5.1, whose byte order differs.
    static bool ReversedRuntime(const CDriverChannel& channel);
};

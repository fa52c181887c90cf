#pragma once

#include "nodemap/RegisterPort.h"

#include <cstdint>

class CDriverChannel;

/// The register port of a CoaXPress camera node map: the camera's memory through
/// the GenICam library, each access waiting at most TimeoutMs.
///
/// Callbacks of the host's node-map library, called on host threads without any
/// lock; `context` is the channel. Results as CGigERegisterPort.
struct CCoaXPressRegisterPort : CRegisterPort {
    static constexpr unsigned TimeoutMs = 10000;

    static int32_t Read(void* buffer, int64_t address, int64_t length, void* context);
    static int32_t Write(const void* buffer, int64_t address, int64_t length, void* context);
};

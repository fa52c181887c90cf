#pragma once

#include <fglib5.h>

#include <cstdint>

/// Bytes of a value of SDK parameter type `type` (FG_TYPE_*), as the SDK and its
/// callers both count them: the SDK reads and writes this many whatever length its
/// caller names, so every buffer handed to a typed call is checked against it.
/// 0 for an unknown type.
constexpr uint64_t SdkTypeWidth(int32_t type) {
    switch (type) {
    case FG_TYPE_INT32:
    case FG_TYPE_UINT32:
        return 4;
    case FG_TYPE_INT64:
    case FG_TYPE_UINT64:
    case FG_TYPE_DOUBLE:
    case FG_TYPE_VALUE8:
        return 8;
    default:
        return 0;
    }
}

/// The widest value of any SDK parameter type.
constexpr uint64_t WidestSdkType = 8;

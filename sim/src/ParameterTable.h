// The parameters the simulated applet offers on every DMA.
#pragma once

#include "DmaConfig.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace sim {

enum class ParameterAccess { RO, RW, WO };

struct ParameterInfo {
    int id;
    const char* name;
    int type; // FgParameterType: the parameter's own type
    ParameterAccess access;
    const char* toolTip;
};

// Reads and writes parameters backed by a DmaConfig. Live parameters (the image counter,
// the software trigger) are answered by the grabber, which owns the engine state.
//
// Stateless; the DmaConfig passed in must be guarded by the caller.
class ParameterTable {
public:
    static const std::vector<ParameterInfo>& All();
    static const ParameterInfo* Find(int id);
    static std::size_t ValueSize(int type);

    // FG_OK when `requested` (0: the parameter's own type) may be used on `info`: the
    // parameter's own type, or FG_TYPE_VALUE8 on any 8-byte parameter.
    static int CheckType(const ParameterInfo& info, int requested);

    // The caller has checked the type and the access.
    static void Read(const DmaConfig& config, const ParameterInfo& info, void* value);
    // Range-checks and stores; FG_OK or FG_ERR_INVALID_VALUE.
    static int Write(DmaConfig& config, const ParameterInfo& info, const void* value);
};

} // namespace sim

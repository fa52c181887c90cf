// The opaque handle types of the SDK headers, completed for the simulator. Each handle is
// a member of the object it stands for; tables look objects up by handle address without
// dereferencing, so a stale or foreign handle is refused rather than followed.
#pragma once

#include "SimExport.h"

#include <cstdint>

struct Fg_Grabber {
    std::uint64_t serial = 0;
};
struct Fg_Memory {
    std::uint64_t serial = 0;
};
struct Gbe_Board {
    std::uint64_t serial = 0;
};
struct Gbe_Camera {
    std::uint64_t serial = 0;
};
struct SgcBoard {
    std::uint64_t serial = 0;
};
struct SgcCamera {
    std::uint64_t serial = 0;
};

namespace sim {

// Serial numbers make handles of different objects distinguishable in a debugger.
SIM_EXPORT std::uint64_t NextHandleSerial();

} // namespace sim

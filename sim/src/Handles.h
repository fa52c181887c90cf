// The opaque handle types of the SDK headers, completed for the simulator. A grabber's
// handle is a member of its Grabber, which outlives its closing (the machine retires it);
// a memory handle is a slot that is never given back (MemorySlots). So a handle can be
// checked where it points: open handles carry their object and a check word, closed ones
// neither, and a stale handle is refused rather than followed.
#pragma once

#include "SimExport.h"

#include <atomic>
#include <cstdint>

namespace sim {
class Grabber;
class MemoryHead;
} // namespace sim

struct Fg_Grabber {
    std::uint64_t serial = 0;
    // The grabber while the handle is open, null once it is closed.
    std::atomic<sim::Grabber*> object{nullptr};
};
struct Fg_Memory {
    std::uint64_t serial = 0;
    // The memory and its grabber while the handle is valid, null once freed.
    std::atomic<sim::MemoryHead*> head{nullptr};
    std::atomic<const sim::Grabber*> owner{nullptr};
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

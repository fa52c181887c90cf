#pragma once
// Module-wide counters of the test driver module.

#include <atomic>
#include <cstdint>

namespace testmodule {

/// Objects of this module still alive; CanUnload answers 1 at 0.
std::atomic<int32_t>& LiveObjects();

} // namespace testmodule

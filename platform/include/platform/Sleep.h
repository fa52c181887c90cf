#pragma once
// Sleeping that a Boost.Thread interruption can end.

#include <cstdint>

namespace platform {

/// Sleeps for `milliseconds`; an interruption of the calling boost::thread ends it
/// early with boost::thread_interrupted.
void InterruptibleSleep(uint32_t milliseconds);

} // namespace platform

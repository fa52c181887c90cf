#pragma once

#include <cstdint>

namespace nwLogging {

/// The operating system's id of the calling thread, as records carry it.
uint64_t current_thread_id();

} // namespace nwLogging

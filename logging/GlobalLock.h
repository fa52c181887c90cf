#pragma once
// The library's global lock: guards the shape of every logger tree (children,
// root names) so that lookups, creation and pruning never see a half-made tree.

#include <mutex>

namespace nwLogging {

std::mutex& global_lock();

} // namespace nwLogging

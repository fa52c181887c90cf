#include "GlobalLock.h"

namespace nwLogging {

namespace {

// Constant-initialized and trivially destroyed here, so it is usable from any
// other object's constructor or destructor, and nothing is left behind when
// the module is unloaded.
std::mutex lock;

} // namespace

std::mutex& global_lock() {
    return lock;
}

} // namespace nwLogging

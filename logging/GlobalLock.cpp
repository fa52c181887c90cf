#include "GlobalLock.h"

namespace nwLogging {

std::mutex& global_lock() {
    // Never destroyed: loggers may be used from other objects' destructors at exit.
    static std::mutex* const lock = new std::mutex;
    return *lock;
}

} // namespace nwLogging

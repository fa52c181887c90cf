#include "ThreadId.h"

#include <platform/Process.h>

namespace nwLogging {

// Asked of the system once per thread: every record carries it.
uint64_t current_thread_id() {
    thread_local const uint64_t id = platform::CurrentThreadId();
    return id;
}

} // namespace nwLogging

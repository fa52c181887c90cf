#include "ThreadId.h"

#include <sys/syscall.h>
#include <unistd.h>

namespace nwLogging {

// Until the platform layer offers the thread id this is the one POSIX call of
// the library; the kernel's id is what the other tools of the machine show.
uint64_t current_thread_id() {
    thread_local const uint64_t id = static_cast<uint64_t>(::syscall(SYS_gettid));
    return id;
}

} // namespace nwLogging

#include <platform/Sleep.h>

#include <boost/chrono/duration.hpp>
#include <boost/thread/thread.hpp>

namespace platform {

void InterruptibleSleep(uint32_t milliseconds) {
    boost::this_thread::sleep_for(boost::chrono::milliseconds(milliseconds));
}

} // namespace platform

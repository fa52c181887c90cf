#include <nwLogging/LogStream.h>

namespace nwLogging {

// The base is made without a buffer because the member buffer does not exist
// yet while the base is constructed.
basic_logstream::basic_logstream(const logger_ptr& logger) : std::ostream(nullptr), buf_(logger) {
    rdbuf(&buf_);
}

basic_logstream::~basic_logstream() {
    buf_.pubsync(); // never throws
}

basic_logstream& basic_logstream::set_level(uint32_t level) {
    buf_.msgstate().level = level;
    return *this;
}

basic_logstream& basic_logstream::set_location(const char* location) {
    if (location != nullptr)
        buf_.msgstate().location = location;
    else
        buf_.msgstate().location.clear();
    return *this;
}

basic_logstream& basic_logstream::set_group(uint64_t group) {
    buf_.msgstate().group = group;
    return *this;
}

void basic_logstream::close() {
    // Straight to the buffer: a stream left bad by a failed insertion would skip
    // flush() and keep the half-built record for the next message.
    buf_.pubsync();
    clear();
}

} // namespace nwLogging

#include <nwLogging/Levels.h>

namespace nwLogging {

const char* level_name(uint32_t level) {
    switch (level) {
    case level_fatal:
        return "fatal";
    case level_err:
        return "err";
    case level_warn:
        return "warn";
    case level_info:
        return "info";
    case level_trace:
        return "trace";
    case level_debug:
        return "debug";
    default:
        return "unknwn";
    }
}

} // namespace nwLogging

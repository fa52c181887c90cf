#pragma once

#include <cstdint>

namespace nwLogging {

/// Log levels: one bit each. A level mask is an OR of these.
enum level : uint32_t {
    level_fatal = 1,
    level_err = 2,
    level_warn = 4,
    level_info = 8,
    level_trace = 16,
    level_debug = 32,
};

/// Group id of a record that belongs to no group.
constexpr uint64_t no_group = ~uint64_t{0};

/// "fatal", "err", "warn", "info", "trace", "debug" or "unknwn".
const char* level_name(uint32_t level);

} // namespace nwLogging

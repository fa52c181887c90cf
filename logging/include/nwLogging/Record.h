#pragma once
// Message states and the finished record handed to targets.

#include <nwLogging/Levels.h>

#include <boost/date_time/posix_time/ptime.hpp>

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace nwLogging {

class inner_logstate;

/// Fixed-size attribute entry; the module adds none itself.
struct attribute_entry {
    std::array<char, 264> bytes{};
};

/// What a log stream accumulates besides its text.
struct basic_msgstate {
    std::shared_ptr<inner_logstate> state;
    uint32_t level = 0;
    uint64_t group = no_group;
    std::string location;
    std::vector<attribute_entry> attributes;

    void reset();
};

/// A completed record: the message state, its logger's full name, the
/// completing thread and the local time with microseconds.
struct basic_timed_msgstate : basic_msgstate {
    std::string logger_name;
    std::string group_name; // empty when the record has no group
    uint64_t thread_id = 0;
    boost::posix_time::ptime timestamp;
};

/// The line of the line-oriented targets: date, time (microseconds only when
/// non-zero), logger name, [group|level], and the text with each of its lines
/// preceded by one space.
std::string format_line(const basic_timed_msgstate& record, const std::string& text);

/// The timestamp part of the line alone ("2021-Mar-03 08:05:07.125000").
std::string format_timestamp(const boost::posix_time::ptime& time);

/// As format_line and format_timestamp, appending to `out` so that a target can
/// reuse one buffer for every line.
void append_line(std::string& out, const basic_timed_msgstate& record, const std::string& text);
void append_timestamp(std::string& out, const boost::posix_time::ptime& time);

} // namespace nwLogging

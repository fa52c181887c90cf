#pragma once
// The local wall-clock time of records, with microseconds.

#include <boost/date_time/posix_time/ptime.hpp>

namespace nwLogging {

/// Thread-safe: each thread keeps its own cache of the current second.
class local_clock {
public:
    /// Same value as boost's microsec_clock::local_time(), but converting to
    /// local time only once per second and thread: that conversion is the
    /// costliest part of stamping a record.
    static boost::posix_time::ptime now();
};

} // namespace nwLogging

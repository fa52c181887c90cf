#pragma once
// Records with fixed content for the tests of the line targets.

#include <nwLogging/Record.h>

#include <boost/date_time/gregorian/gregorian_types.hpp>
#include <boost/date_time/posix_time/posix_time_types.hpp>

#include <cstdint>
#include <string>

namespace targettest {

/// 2021-Mar-03 08:05:07.125000 from logger GDRVM at `level`.
inline nwLogging::basic_timed_msgstate FixedRecord(uint32_t level = nwLogging::level_err,
                                                   const std::string& logger = "GDRVM") {
    nwLogging::basic_timed_msgstate record;
    record.level = level;
    record.logger_name = logger;
    record.thread_id = 77;
    record.timestamp = boost::posix_time::ptime(boost::gregorian::date(2021, 3, 3),
                                                boost::posix_time::time_duration(8, 5, 7) +
                                                    boost::posix_time::microseconds(125000));
    return record;
}

} // namespace targettest

#include "LocalClock.h"

#include <boost/date_time/c_time.hpp>
#include <boost/date_time/gregorian/gregorian_types.hpp>
#include <boost/date_time/posix_time/posix_time_types.hpp>

#include <chrono>
#include <ctime>

namespace nwLogging {

namespace {

struct second_cache {
    std::time_t second = -1;
    boost::posix_time::ptime local;
};

boost::posix_time::ptime to_local(std::time_t second) {
    std::tm buffer{};
    // The answer may not be our buffer: where the C library has no localtime_r,
    // Boost fills its own static tm and leaves ours untouched.
    const std::tm& parts = *boost::date_time::c_time::localtime(&second, &buffer);
    const boost::gregorian::date day(static_cast<unsigned short>(parts.tm_year + 1900),
                                     static_cast<unsigned short>(parts.tm_mon + 1),
                                     static_cast<unsigned short>(parts.tm_mday));
    return boost::posix_time::ptime(
        day, boost::posix_time::time_duration(parts.tm_hour, parts.tm_min, parts.tm_sec));
}

} // namespace

boost::posix_time::ptime local_clock::now() {
    using namespace std::chrono;
    const auto sinceEpoch = duration_cast<microseconds>(system_clock::now().time_since_epoch());
    auto seconds = duration_cast<std::chrono::seconds>(sinceEpoch);
    auto micros = sinceEpoch - seconds;
    if (micros.count() < 0) { // before 1970: keep the fraction positive
        seconds -= std::chrono::seconds(1);
        micros += std::chrono::seconds(1);
    }
    // A time-zone or daylight-saving change takes effect at a second boundary,
    // so a cached second stays right for the whole second.
    thread_local second_cache cache;
    const auto second = static_cast<std::time_t>(seconds.count());
    if (second != cache.second) {
        cache.local = to_local(second);
        cache.second = second;
    }
    return cache.local + boost::posix_time::microseconds(micros.count());
}

} // namespace nwLogging

#include <nwLogging/Record.h>

#include <boost/date_time/gregorian/gregorian_types.hpp>
#include <boost/date_time/posix_time/posix_time_types.hpp>

#include <cstdint>
#include <cstring>

namespace nwLogging {

namespace {

// Hand-made digits: the line is built for every record a target writes, and a
// facet or a string stream would cost more than the rest of the record.
char* put_digits(char* out, unsigned value, int width) {
    for (int i = width - 1; i >= 0; --i) {
        out[i] = static_cast<char>('0' + value % 10);
        value /= 10;
    }
    return out + width;
}

constexpr char monthNames[12][4] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                    "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

// "YYYY-Mon-DD HH:MM:SS" of one second; years are 1400 to 9999, so always 20 characters.
struct second_text {
    int64_t second = -1; // since 1400-01-01 00:00:00
    char text[20] = {};
};

} // namespace

void append_timestamp(std::string& out, const boost::posix_time::ptime& time) {
    if (time.is_special()) {
        if (time.is_neg_infinity())
            out += "-infinity";
        else if (time.is_pos_infinity())
            out += "+infinity";
        else
            out += "not-a-date-time";
        return;
    }
    // Date and time of day change once a second, and turning a day number into
    // a calendar date is the costliest part of a line: each thread keeps the
    // text of the last second it formatted. (Plain data: a module with
    // thread-local objects that need destruction could not be unloaded.)
    static const boost::posix_time::ptime base(boost::gregorian::date(1400, 1, 1));
    const int64_t ticksPerSecond = boost::posix_time::time_duration::ticks_per_second();
    const int64_t ticksPerMicrosecond = ticksPerSecond >= 1000000 ? ticksPerSecond / 1000000 : 1;
    const int64_t ticks = (time - base).ticks();
    const int64_t second = ticks / ticksPerSecond;
    const auto micros = static_cast<unsigned>((ticks % ticksPerSecond) / ticksPerMicrosecond);

    thread_local second_text cache;
    if (second != cache.second) {
        const auto ymd = time.date().year_month_day();
        const boost::posix_time::time_duration tod = time.time_of_day();
        char* p = put_digits(cache.text, static_cast<unsigned>(ymd.year), 4);
        *p++ = '-';
        const char* month = monthNames[static_cast<unsigned>(ymd.month) - 1];
        *p++ = month[0];
        *p++ = month[1];
        *p++ = month[2];
        *p++ = '-';
        p = put_digits(p, static_cast<unsigned>(ymd.day), 2);
        *p++ = ' ';
        p = put_digits(p, static_cast<unsigned>(tod.hours()), 2);
        *p++ = ':';
        p = put_digits(p, static_cast<unsigned>(tod.minutes()), 2);
        *p++ = ':';
        put_digits(p, static_cast<unsigned>(tod.seconds()), 2);
        cache.second = second;
    }
    char buffer[sizeof cache.text + 7];
    std::memcpy(buffer, cache.text, sizeof cache.text);
    char* p = buffer + sizeof cache.text;
    if (micros != 0) {
        *p++ = '.';
        p = put_digits(p, micros, 6);
    }
    out.append(buffer, static_cast<std::size_t>(p - buffer));
}

void append_line(std::string& out, const basic_timed_msgstate& record, const std::string& text) {
    const char* level = level_name(record.level);
    out.reserve(out.size() + 40 + record.logger_name.size() + record.group_name.size() +
                text.size());
    append_timestamp(out, record.timestamp);
    out += ' ';
    if (!record.logger_name.empty()) {
        out += record.logger_name;
        out += ' ';
    }
    out += '[';
    if (record.group != no_group) {
        out += record.group_name;
        out += '|';
    }
    out += level;
    out += ']';

    // Line by line, as a line reader would see the text: a final line end adds
    // no empty line. A carriage return before a line end belongs to the line
    // end, so Windows-style text folds the same way.
    std::string::size_type start = 0;
    while (start < text.size()) {
        const auto end = text.find('\n', start);
        auto stop = end == std::string::npos ? text.size() : end;
        if (end != std::string::npos && stop > start && text[stop - 1] == '\r')
            --stop;
        out += ' ';
        out.append(text, start, stop - start);
        if (end == std::string::npos)
            break;
        start = end + 1;
    }
}

std::string format_line(const basic_timed_msgstate& record, const std::string& text) {
    std::string line;
    append_line(line, record, text);
    return line;
}

std::string format_timestamp(const boost::posix_time::ptime& time) {
    std::string text;
    append_timestamp(text, time);
    return text;
}

} // namespace nwLogging

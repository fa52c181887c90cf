#pragma once
// The message container: the payload of a log-record datagram. A 28-byte
// header (bytes used, flags, the sequence number twice, eight zero bytes) and
// items of a 2-byte length, a type byte, a zero byte and the data.

#include <nwLogging/Record.h>

#include <boost/date_time/posix_time/ptime.hpp>

#include <array>
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <string>

namespace nwLogging {

constexpr std::size_t container_header_size = 28;
constexpr std::size_t item_header_size = 4;

enum item_type : uint8_t {
    item_text = 1,
    item_timestamp = 2, // microseconds from 1400-01-01 00:00 to the local time
    item_logger = 3,
    item_level = 4,
    item_group = 5, // empty without a group
    item_location = 6,
    item_attributes = 7, // the 264-byte entries
    item_process_id = 8,
    item_thread_id = 9,
    item_code_page = 10,
};

enum container_flag : uint16_t {
    container_items_dropped = 1,  // an item did not fit; it and the rest are missing
    container_text_truncated = 2, // the text was cut to the room left
    container_has_attributes = 4,
};

/// The order of the items in a container.
class item_pattern {
public:
    /// 2, 3, 4, 9, 8, 5, 10, 1, 6; without 9 when thread ids are off.
    static item_pattern plain(bool thread_id);
    /// 7 followed by the plain pattern.
    static item_pattern with_attributes(bool thread_id);
    /// Any order, for tests of the checks; at most 16 items.
    static item_pattern of(std::initializer_list<uint8_t> types);

    const uint8_t* begin() const { return types_.data(); }
    const uint8_t* end() const { return types_.data() + size_; }
    std::size_t size() const { return size_; }

private:
    std::array<uint8_t, 16> types_{};
    std::size_t size_ = 0;
};

/// Microseconds from 1400-01-01 00:00 to `time`; 0 for special times.
uint64_t micros_since_1400(const boost::posix_time::ptime& time);
boost::posix_time::ptime time_from_micros_since_1400(uint64_t micros);

/// What the items of one record carry. The text is a byte range, the rest is
/// borrowed from the record.
struct container_source {
    const basic_timed_msgstate* record = nullptr;
    const char* text_begin = nullptr;
    const char* text_end = nullptr;
    uint64_t process_id = 0;
    uint64_t code_page = 0;
};

/// Builds a container into `buffer` and answers the bytes used. LogSvcError
/// "Constructing an input log message container from inconstant data" for a
/// missing buffer, one of 27 bytes or less, a missing record, null text
/// pointers or a text end before its start; "Invalid pattern used when
/// constructing the log message container" for an item type outside 1 to 10.
std::size_t build_message_container(uint8_t* buffer, std::size_t size, uint64_t sequence,
                                    const item_pattern& pattern, const container_source& source);

} // namespace nwLogging

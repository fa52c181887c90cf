#include <nwLogging/LittleEndian.h>
#include <nwLogging/LogSvcError.h>
#include <nwLogging/MessageContainer.h>

#include <boost/date_time/gregorian/gregorian_types.hpp>
#include <boost/date_time/posix_time/posix_time_types.hpp>

#include <cstring>
#include <stdexcept>

namespace nwLogging {

static_assert(sizeof(attribute_entry) == 264, "attribute entries are sent as they are");

namespace {

const boost::posix_time::ptime& epoch_1400() {
    static const boost::posix_time::ptime epoch(boost::gregorian::date(1400, 1, 1));
    return epoch;
}

// Appends items to the container while room is left; the first item that does
// not fit ends the list.
class item_writer {
public:
    item_writer(uint8_t* buffer, std::size_t size)
        : buffer_(buffer), size_(size), used_(container_header_size) {}

    std::size_t used() const { return used_; }
    uint16_t flags() const { return flags_; }
    bool closed() const { return closed_; }
    void add_flag(uint16_t flag) { flags_ = static_cast<uint16_t>(flags_ | flag); }

    void bytes(uint8_t type, const void* data, std::size_t length, bool may_cut = false) {
        const std::size_t left = size_ - used_;
        if (left < item_header_size) {
            drop();
            return;
        }
        const std::size_t room = left - item_header_size;
        if (length > room) {
            if (!may_cut) {
                drop();
                return;
            }
            length = room;
            add_flag(container_text_truncated);
        }
        uint8_t* out = buffer_ + used_;
        put_le<uint16_t>(out, static_cast<uint16_t>(length));
        out[2] = type;
        out[3] = 0;
        if (length > 0)
            std::memcpy(out + item_header_size, data, length);
        used_ += item_header_size + length;
    }

    void integer(uint8_t type, uint64_t value) {
        uint8_t data[8];
        put_le<uint64_t>(data, value);
        bytes(type, data, sizeof data);
    }

    void text(uint8_t type, const std::string& value) { bytes(type, value.data(), value.size()); }

private:
    void drop() {
        add_flag(container_items_dropped);
        closed_ = true;
    }

    uint8_t* buffer_;
    std::size_t size_;
    std::size_t used_;
    uint16_t flags_ = 0;
    bool closed_ = false;
};

void check_pattern(const item_pattern& pattern) {
    for (uint8_t type : pattern) {
        if (type < item_text || type > item_code_page)
            throw LogSvcError("Invalid pattern used when constructing the log message container");
    }
}

} // namespace

item_pattern item_pattern::plain(bool thread_id) {
    item_pattern pattern;
    for (uint8_t type : {item_timestamp, item_logger, item_level, item_thread_id, item_process_id,
                         item_group, item_code_page, item_text, item_location}) {
        if (type == item_thread_id && !thread_id)
            continue;
        pattern.types_[pattern.size_++] = type;
    }
    return pattern;
}

item_pattern item_pattern::with_attributes(bool thread_id) {
    const item_pattern rest = plain(thread_id);
    item_pattern pattern;
    pattern.types_[pattern.size_++] = item_attributes;
    for (uint8_t type : rest)
        pattern.types_[pattern.size_++] = type;
    return pattern;
}

item_pattern item_pattern::of(std::initializer_list<uint8_t> types) {
    if (types.size() > 16)
        throw std::length_error("an item pattern holds at most 16 items");
    item_pattern pattern;
    for (uint8_t type : types)
        pattern.types_[pattern.size_++] = type;
    return pattern;
}

uint64_t micros_since_1400(const boost::posix_time::ptime& time) {
    if (time.is_special() || time < epoch_1400())
        return 0;
    return static_cast<uint64_t>((time - epoch_1400()).total_microseconds());
}

boost::posix_time::ptime time_from_micros_since_1400(uint64_t micros) {
    const uint64_t perDay = 86400ull * 1000000ull;
    // Beyond the year 9999 the calendar refuses; such a value is no time.
    if (micros / perDay > 3'500'000)
        return boost::posix_time::ptime(boost::posix_time::not_a_date_time);
    try {
        return epoch_1400() + boost::gregorian::days(static_cast<long>(micros / perDay)) +
               boost::posix_time::microseconds(static_cast<int64_t>(micros % perDay));
    } catch (const std::exception&) {
        return boost::posix_time::ptime(boost::posix_time::not_a_date_time);
    }
}

std::size_t build_message_container(uint8_t* buffer, std::size_t size, uint64_t sequence,
                                    const item_pattern& pattern, const container_source& source) {
    if (buffer == nullptr || size < container_header_size || source.record == nullptr ||
        source.text_begin == nullptr || source.text_end == nullptr ||
        source.text_end < source.text_begin)
        throw LogSvcError("Constructing an input log message container from inconstant data");
    check_pattern(pattern);
    // The 16-bit length fields cannot describe more; datagrams never need it.
    if (size > 0xFFFF)
        size = 0xFFFF;

    std::memset(buffer, 0, container_header_size);
    put_le<uint64_t>(buffer + 4, sequence);
    put_le<uint64_t>(buffer + 12, sequence);

    const basic_timed_msgstate& record = *source.record;
    item_writer items(buffer, size);
    for (uint8_t type : pattern) {
        if (items.closed())
            break;
        switch (type) {
        case item_text:
            items.bytes(item_text, source.text_begin,
                        static_cast<std::size_t>(source.text_end - source.text_begin), true);
            break;
        case item_timestamp:
            items.integer(item_timestamp, micros_since_1400(record.timestamp));
            break;
        case item_logger:
            items.text(item_logger, record.logger_name);
            break;
        case item_level:
            items.integer(item_level, record.level);
            break;
        case item_group:
            items.text(item_group, record.group_name); // empty without a group
            break;
        case item_location:
            items.text(item_location, record.location);
            break;
        case item_attributes:
            items.bytes(item_attributes, record.attributes.data(),
                        record.attributes.size() * sizeof(attribute_entry));
            break;
        case item_process_id:
            items.integer(item_process_id, source.process_id);
            break;
        case item_thread_id:
            items.integer(item_thread_id, record.thread_id);
            break;
        case item_code_page:
            items.integer(item_code_page, source.code_page);
            break;
        }
    }
    uint16_t flags = items.flags();
    if (!record.attributes.empty())
        flags = static_cast<uint16_t>(flags | container_has_attributes);
    put_le<uint16_t>(buffer + 0, static_cast<uint16_t>(items.used()));
    put_le<uint16_t>(buffer + 2, flags);
    return items.used();
}

} // namespace nwLogging

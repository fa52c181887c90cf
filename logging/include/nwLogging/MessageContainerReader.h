#pragma once
// Decoding of message containers, for the log service and for tests.

#include <boost/date_time/posix_time/ptime.hpp>

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace nwLogging {

struct container_item {
    uint8_t type = 0;
    std::string data;
};

/// A container taken apart, with the items that were present interpreted.
struct decoded_container {
    uint16_t total = 0;
    uint16_t flags = 0;
    uint64_t sequence = 0;
    uint64_t sequence_again = 0;
    uint64_t zero = 0;
    std::vector<container_item> items; // in the order they came

    std::optional<boost::posix_time::ptime> timestamp;
    std::optional<std::string> logger;
    std::optional<uint64_t> level;
    std::optional<uint64_t> thread_id;
    std::optional<uint64_t> process_id;
    std::optional<std::string> group;
    std::optional<uint64_t> code_page;
    std::optional<std::string> text;
    std::optional<std::string> location;
    std::optional<std::size_t> attribute_count;

    /// The item types in order.
    std::vector<uint8_t> types() const;

    /// Reads a container; LogSvcError "Malformed log message container" when
    /// its length field, an item's length or an integer item's size does not
    /// agree with the bytes given.
    static decoded_container decode(const uint8_t* data, std::size_t size);
};

} // namespace nwLogging

#pragma once
// The 12-byte header of every log-service datagram (commands, acknowledges and
// log records), and the limits and codes of the exchange.

#include <cstddef>
#include <cstdint>

namespace nwLogging {

constexpr std::size_t datagram_header_size = 12;
constexpr std::size_t max_payload_size = 1388;
constexpr std::size_t max_datagram_size = datagram_header_size + max_payload_size; // 1400

constexpr uint16_t command_magic = 0xACCA; // commands and acknowledges
constexpr uint16_t record_magic = 0xADDA;  // log records
constexpr uint16_t record_flag_no_ack = 0x0001;
constexpr uint16_t acknowledge_bit = 0x8000;

constexpr uint16_t command_get_configuration = 0x0001;
constexpr uint16_t command_set_description = 0x0041;
constexpr uint16_t command_record = 0x0101;            // without attributes
constexpr uint16_t command_record_attributes = 0x0102; // with attributes

struct datagram_header {
    uint16_t magic = 0;
    uint16_t flags = 0;
    uint16_t command = 0;
    uint16_t status = 0;
    uint16_t request_id = 0;
    uint16_t payload_length = 0;

    /// Writes the 12 bytes at `out`.
    void encode(uint8_t* out) const;
    /// Reads 12 bytes at `in`; the caller checks that they are there.
    static datagram_header decode(const uint8_t* in);

    /// The low 16 bits of the current local time in microseconds since
    /// 1970-01-01 00:00.
    static uint16_t next_request_id();
};

} // namespace nwLogging

#pragma once
// Where the log service listens: the record it publishes in a named
// shared-memory block.

#include <nwLogging/Endpoint.h>

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

namespace nwLogging {

constexpr uint32_t connection_info_magic = 0xABABBABA;
constexpr std::size_t connection_info_size = 24;
/// The block's name; the client tries it under global_block_prefix first.
constexpr const char* connection_block_name = "nwLogSvcConnectionInfo";
constexpr const char* global_block_prefix = "Global\\";
/// When set and not empty, its value replaces connection_block_name. Only tests
/// set it, so that the modules they load never meet a log service running on the
/// machine, and a service they start never takes over the machine's block.
constexpr const char* private_block_variable = "NWLOG_TEST_BLOCK_NAME";

/// connection_block_name, or the private name private_block_variable gives.
std::string block_name();

/// The 24-byte record: magic, validity word, reserved word, then the command
/// and the record endpoint. All little-endian.
struct connection_info {
    uint32_t magic = connection_info_magic;
    uint32_t valid = 0;
    uint32_t reserved = 0;
    endpoint command;
    endpoint records;

    std::array<uint8_t, connection_info_size> encode() const;
    static connection_info decode(const uint8_t* bytes);

    /// The record at the start of `size` bytes of a block; LogSvcError "Failed to
    /// retrieve valid connection info" when they are fewer than the record, its
    /// magic is wrong or it is not marked valid.
    static connection_info parse(const uint8_t* bytes, std::size_t size);

    /// Copies the record out of the service's block ("Global\\" + block_name()
    /// first, then the bare block_name()). LogSvcError "Shared memory error" when neither opens,
    /// "Failed to retrieve valid connection info" when the block is shorter than
    /// the record, its magic is wrong or it is not marked valid.
    static connection_info read();
};

} // namespace nwLogging

#include <nwLogging/ConnectionInfo.h>
#include <nwLogging/LittleEndian.h>
#include <nwLogging/LogSvcError.h>

#include <platform/Environment.h>
#include <platform/SharedMemory.h>

namespace nwLogging {

std::string block_name() {
    const std::optional<std::string> name = platform::GetEnv(private_block_variable);
    return name && !name->empty() ? *name : connection_block_name;
}

std::array<uint8_t, connection_info_size> connection_info::encode() const {
    std::array<uint8_t, connection_info_size> bytes{};
    put_le<uint32_t>(&bytes[0], magic);
    put_le<uint32_t>(&bytes[4], valid);
    put_le<uint32_t>(&bytes[8], reserved);
    put_le<uint32_t>(&bytes[12], command.address);
    put_le<uint16_t>(&bytes[16], command.port);
    put_le<uint32_t>(&bytes[18], records.address);
    put_le<uint16_t>(&bytes[22], records.port);
    return bytes;
}

connection_info connection_info::decode(const uint8_t* bytes) {
    connection_info info;
    info.magic = get_le<uint32_t>(bytes + 0);
    info.valid = get_le<uint32_t>(bytes + 4);
    info.reserved = get_le<uint32_t>(bytes + 8);
    info.command.address = get_le<uint32_t>(bytes + 12);
    info.command.port = get_le<uint16_t>(bytes + 16);
    info.records.address = get_le<uint32_t>(bytes + 18);
    info.records.port = get_le<uint16_t>(bytes + 22);
    return info;
}

connection_info connection_info::read() {
    std::array<uint8_t, connection_info_size> bytes{};
    const std::string name = block_name();
    platform::SharedMemoryReadResult result = platform::ReadSharedMemory(
        std::string(global_block_prefix) + name, bytes.data(), bytes.size());
    if (!result.opened)
        result = platform::ReadSharedMemory(name, bytes.data(), bytes.size());
    if (!result.opened)
        throw LogSvcError("Shared memory error");
    // Only the bytes the block really has are looked at: a short block must not
    // pass on the zeros the buffer started with.
    const std::size_t present = result.blockSize < result.copied ? result.blockSize : result.copied;
    return parse(bytes.data(), present);
}

connection_info connection_info::parse(const uint8_t* bytes, std::size_t size) {
    if (bytes == nullptr || size < connection_info_size)
        throw LogSvcError("Failed to retrieve valid connection info");
    const connection_info info = decode(bytes);
    if (info.magic != connection_info_magic || info.valid == 0)
        throw LogSvcError("Failed to retrieve valid connection info");
    return info;
}

} // namespace nwLogging

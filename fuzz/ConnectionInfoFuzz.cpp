// The log service's connection record as another process leaves it in the
// shared block: checked, decoded, and the endpoints' texts read back.
#include <nwLogging/ConnectionInfo.h>
#include <nwLogging/LogSvcError.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace {

void ReadBack(const nwLogging::endpoint& address) {
    if (address.port == 0)
        return; // port 0 has no text form the configuration accepts
    if (nwLogging::parse_socket_address(address.to_string()) != address)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    nwLogging::connection_info info;
    try {
        info = nwLogging::connection_info::parse(data, size);
    } catch (const nwLogging::LogSvcError&) {
        return 0;
    }
    if (std::memcmp(info.encode().data(), data, nwLogging::connection_info_size) != 0)
        std::abort();
    ReadBack(info.command);
    ReadBack(info.records);
    return 0;
}

// The address text of a module's log configuration ("a.b.c.d:port"): what is
// accepted reads back from its own text form.
#include <nwLogging/Endpoint.h>
#include <nwLogging/LogSvcError.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    nwLogging::endpoint address;
    try {
        address =
            nwLogging::parse_socket_address(std::string(reinterpret_cast<const char*>(data), size));
    } catch (const nwLogging::LogSvcError&) {
        return 0;
    }
    if (address.port == 0 || nwLogging::parse_socket_address(address.to_string()) != address)
        std::abort();
    return 0;
}

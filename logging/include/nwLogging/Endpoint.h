#pragma once
// An IPv4 UDP endpoint in host order, and the address text of the configuration.

#include <cstdint>
#include <string>

namespace nwLogging {

struct endpoint {
    uint32_t address = 0;
    uint16_t port = 0;

    bool operator==(const endpoint& other) const {
        return address == other.address && port == other.port;
    }
    bool operator!=(const endpoint& other) const { return !(*this == other); }

    /// "a.b.c.d:port".
    std::string to_string() const;
};

/// A dotted IPv4 address, a colon and a decimal port from 1 to 65535 without a
/// leading zero, nothing after it; LogSvcError "Failed to parse socket address
/// string" otherwise.
endpoint parse_socket_address(const std::string& text);

} // namespace nwLogging

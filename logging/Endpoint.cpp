#include <nwLogging/Endpoint.h>
#include <nwLogging/LogSvcError.h>

#include <platform/Ipv4Address.h>

namespace nwLogging {

std::string endpoint::to_string() const {
    return platform::FormatIpv4Address(address) + ":" + std::to_string(port);
}

endpoint parse_socket_address(const std::string& text) {
    static const char* const failure = "Failed to parse socket address string";
    const auto colon = text.find(':');
    if (colon == std::string::npos)
        throw LogSvcError(failure);
    const std::optional<uint32_t> address = platform::ParseIpv4Address(text.substr(0, colon));
    if (!address)
        throw LogSvcError(failure);
    const std::string port = text.substr(colon + 1);
    // At most five digits, the first not zero: this rules out "080", "0" and
    // anything a numeric conversion would quietly accept (signs, spaces, "0x").
    if (port.empty() || port.size() > 5 || port[0] == '0')
        throw LogSvcError(failure);
    uint32_t value = 0;
    for (char c : port) {
        if (c < '0' || c > '9')
            throw LogSvcError(failure);
        value = value * 10 + static_cast<uint32_t>(c - '0');
    }
    if (value > 65535)
        throw LogSvcError(failure);
    return endpoint{*address, static_cast<uint16_t>(value)};
}

} // namespace nwLogging

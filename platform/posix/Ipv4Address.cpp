#include <platform/Ipv4Address.h>

#include <arpa/inet.h>

namespace platform {

std::optional<uint32_t> ParseIpv4Address(const std::string& text) {
    in_addr address{};
    // inet_pton takes exactly four decimal parts and refuses leading zeros, which
    // other parsers read as octal.
    if (text.find('\0') != std::string::npos || ::inet_pton(AF_INET, text.c_str(), &address) != 1)
        return std::nullopt;
    return ntohl(address.s_addr);
}

std::string FormatIpv4Address(uint32_t address) {
    return std::to_string((address >> 24) & 0xFF) + "." + std::to_string((address >> 16) & 0xFF) +
           "." + std::to_string((address >> 8) & 0xFF) + "." + std::to_string(address & 0xFF);
}

} // namespace platform

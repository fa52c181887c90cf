#include <platform/Ipv4Address.h>

namespace platform {

// Exactly four decimal parts of 0 to 255 without leading zeros (other parsers read
// those as octal), as inet_pton takes them.
std::optional<uint32_t> ParseIpv4Address(const std::string& text) {
    uint32_t address = 0;
    size_t position = 0;
    for (int part = 0; part < 4; ++part) {
        if (part > 0) {
            if (position >= text.size() || text[position] != '.')
                return std::nullopt;
            ++position;
        }
        const size_t start = position;
        uint32_t value = 0;
        while (position < text.size() && text[position] >= '0' && text[position] <= '9' &&
               position - start < 3) {
            value = value * 10 + static_cast<uint32_t>(text[position] - '0');
            ++position;
        }
        const size_t digits = position - start;
        if (digits == 0 || value > 255 || (digits > 1 && text[start] == '0'))
            return std::nullopt;
        address = (address << 8) | value;
    }
    if (position != text.size())
        return std::nullopt;
    return address;
}

std::string FormatIpv4Address(uint32_t address) {
    return std::to_string((address >> 24) & 0xFF) + "." + std::to_string((address >> 16) & 0xFF) +
           "." + std::to_string((address >> 8) & 0xFF) + "." + std::to_string(address & 0xFF);
}

} // namespace platform

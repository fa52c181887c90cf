#pragma once
// IPv4 addresses as host-order numbers, and their dotted text.

#include <cstdint>
#include <optional>
#include <string>

namespace platform {

constexpr uint32_t kIpv4Any = 0x00000000;
constexpr uint32_t kIpv4Loopback = 0x7F000001;

/// "a.b.c.d", four decimal numbers 0 to 255, nothing else; nothing when malformed.
std::optional<uint32_t> ParseIpv4Address(const std::string& text);
std::string FormatIpv4Address(uint32_t address);

} // namespace platform

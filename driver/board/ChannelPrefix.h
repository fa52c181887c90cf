#pragma once

#include <cstdint>
#include <ostream>

/// Start of every channel log line: "\tBoard = B | Channel = D" (no final tab), so
/// that each class adds its own word: `prefix << "\tGrab2: " << text`. The
/// channel itself writes `prefix << '\t' << text`.
struct ChannelPrefix {
    int32_t vendorIndex = 0;
    uint32_t dmaIndex = 0;
};

inline std::ostream& operator<<(std::ostream& out, const ChannelPrefix& prefix) {
    return out << "\tBoard = " << prefix.vendorIndex << " | Channel = " << prefix.dmaIndex;
}

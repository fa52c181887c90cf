#pragma once

#include <cstdint>
#include <ostream>

/// Start of every board log line: "\tBoard = " + vendor board index + "\t".
/// With `withTab` false the final tab is left off.
struct BoardPrefix {
    int32_t vendorIndex = 0;
    bool withTab = true;
};

inline std::ostream& operator<<(std::ostream& out, const BoardPrefix& prefix) {
    out << "\tBoard = " << prefix.vendorIndex;
    if (prefix.withTab)
        out << '\t';
    return out;
}

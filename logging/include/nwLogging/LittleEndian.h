#pragma once
// Little-endian integers in byte buffers, as the log service's datagrams and
// shared-memory record carry them, whatever the host's byte order.

#include <cstddef>
#include <cstdint>

namespace nwLogging {

template <class T> inline void put_le(uint8_t* out, T value) {
    for (std::size_t i = 0; i < sizeof(T); ++i)
        out[i] = static_cast<uint8_t>(static_cast<uint64_t>(value) >> (8 * i));
}

template <class T> inline T get_le(const uint8_t* in) {
    uint64_t value = 0;
    for (std::size_t i = 0; i < sizeof(T); ++i)
        value |= static_cast<uint64_t>(in[i]) << (8 * i);
    return static_cast<T>(value);
}

} // namespace nwLogging

#pragma once
// Little-endian integers in byte buffers, as the log service's datagrams and
// shared-memory record carry them, whatever the host's byte order.

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace nwLogging {

// On a little-endian host a copy is the conversion, and compiles to one store
// or load; every record datagram writes a few dozen of them.
#if defined(__BYTE_ORDER__) && defined(__ORDER_LITTLE_ENDIAN__) &&                                 \
    __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__
#define NWLOGGING_LITTLE_ENDIAN_HOST 1
#else
#define NWLOGGING_LITTLE_ENDIAN_HOST 0
#endif

template <class T> inline void put_le(uint8_t* out, T value) {
#if NWLOGGING_LITTLE_ENDIAN_HOST || defined(_WIN32)
    std::memcpy(out, &value, sizeof(T));
#else
    for (std::size_t i = 0; i < sizeof(T); ++i)
        out[i] = static_cast<uint8_t>(static_cast<uint64_t>(value) >> (8 * i));
#endif
}

template <class T> inline T get_le(const uint8_t* in) {
#if NWLOGGING_LITTLE_ENDIAN_HOST || defined(_WIN32)
    T value;
    std::memcpy(&value, in, sizeof(T));
    return value;
#else
    uint64_t value = 0;
    for (std::size_t i = 0; i < sizeof(T); ++i)
        value |= static_cast<uint64_t>(in[i]) << (8 * i);
    return static_cast<T>(value);
#endif
}

} // namespace nwLogging

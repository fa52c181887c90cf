#pragma once
// Result codes of host interface operations: non-negative is success, the top bit
// set is failure.

#include <cstdint>

namespace ORV {

constexpr int32_t code(uint32_t value) {
    return static_cast<int32_t>(value);
}

constexpr int32_t OK = 0;
constexpr int32_t E_FAIL = code(0x80000001);            // operation failed
constexpr int32_t E_INVALIDARG = code(0x80000002);      // argument out of range or unknown
constexpr int32_t E_TIMEOUT = code(0x80000004);         // SDK wait timed out
constexpr int32_t E_OUTOFMEMORY = code(0x80000005);     // allocation / buffer list failure
constexpr int32_t E_EXPIRED = code(0x80000010);         // the image object has expired
constexpr int32_t E_NOTIMPL = code(0x80000011);         // not implemented
constexpr int32_t E_BUSY = code(0x80000012);            // a needed lock was not free
constexpr int32_t E_NOTSUPPORTED = code(0x80000013);    // not supported by the driver
constexpr int32_t E_POSITION = code(0x80000016);        // outside the delivered-buffer record
constexpr int32_t E_HASBASE = code(0x8000002B);         // image already has a base object
constexpr int32_t E_PORTCHANGE = code(0x8000002D);      // port change while acquiring
constexpr int32_t E_EVENTNOTOFFERED = code(0x8000002E); // event id not offered

inline bool Succeeded(int32_t result) {
    return result >= 0;
}
inline bool Failed(int32_t result) {
    return result < 0;
}

} // namespace ORV

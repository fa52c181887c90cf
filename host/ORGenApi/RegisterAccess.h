#pragma once
// What the feature engine reads and writes registers through.

#include <cstdint>

namespace orgenapi {

/// Register memory as a node map offers it to its features. Both calls answer 0
/// or a failure code (the port's own, or 0x80000001 when no usable port is
/// attached). Called without any lock of the caller held.
class RegisterAccess {
public:
    virtual int32_t ReadRegisters(void* buffer, int64_t address, int64_t length) const = 0;
    virtual int32_t WriteRegisters(const void* buffer, int64_t address, int64_t length) const = 0;

protected:
    ~RegisterAccess() = default;
};

} // namespace orgenapi

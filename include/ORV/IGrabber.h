#pragma once

#include <ORV/IDisposableType.h>
#include <ORV/ORVTypes.h>

namespace ORV {

class IGrabber : public virtual IDisposableType {
public:
    virtual int32_t Snap() = 0;
    virtual int32_t Reserved() = 0; // no operation, answers 0
    virtual int32_t SetTimeout(uint32_t milliseconds) = 0;
    virtual int32_t NotImplemented() = 0; // answers E_NOTIMPL
    virtual int32_t SnapArea(int64_t a, int64_t b, int64_t c) = 0;
    virtual int32_t SetUserPointer(void* user) = 0;
    /// Writes the module's 16-byte identifier.
    virtual int32_t GetModuleIdentifier(uint8_t* identifier) = 0;
};

} // namespace ORV

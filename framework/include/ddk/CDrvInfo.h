#pragma once

#include <ddk/CBaseObj.h>

#include <cstdint>
#include <string>

/// Driver information: vendor and driver names and the module GUID.
class CDrvInfo : public CBaseObj {
public:
    CDrvInfo() : CBaseObj(IdentityOf<CDrvInfo>()) {}
    /// Registry subkey below the host key.
    virtual std::string GetVendorName() = 0;
    virtual std::string GetDriverName() = 0;
    virtual int32_t GetIntegerInfo() = 0;
    /// Writes the GUID in registry text form: 36 characters and a terminating zero
    /// (the buffer holds at least 40 bytes). Returns 0.
    virtual int32_t GetModuleGuid(char* buffer) = 0;
};

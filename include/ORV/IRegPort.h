#pragma once

#include <ORV/IDisposableType.h>
#include <ORV/ORVTypes.h>

namespace ORV {

class IRegPort : public virtual IDisposableType {
public:
    virtual int32_t Read(void* buffer, uint64_t address, uint64_t length) = 0;
    virtual int32_t Write(const void* buffer, uint64_t address, uint64_t length) = 0;
    virtual int32_t GetAccessMode(uint64_t address, int32_t* mode) = 0;
    virtual int32_t GetPortName(char* destination, uint32_t* length) = 0;
    virtual int32_t Invalidate() = 0;
    virtual int32_t GetSize(uint64_t* size) = 0;
    virtual int32_t GetEndianness(int32_t* littleEndian) = 0;
};

} // namespace ORV

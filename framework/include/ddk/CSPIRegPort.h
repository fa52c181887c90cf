#pragma once

#include <ddk/CSPIBase.h>

#include <cstdint>

class CSPIRegPort : public CSPIBase<CSPIRegPort> {
public:
    virtual bool Supported(void* bufferList) = 0;
    virtual int32_t Read(void* bufferList, void* buffer, uint64_t address, uint64_t length) = 0;
    virtual int32_t Write(void* bufferList, const void* buffer, uint64_t address,
                          uint64_t length) = 0;
    virtual int32_t GetAccessMode(void* bufferList, uint64_t address, int32_t* mode) = 0;
    virtual int32_t GetPortName(void* bufferList, char* destination, uint32_t* length) = 0;
    virtual int32_t Invalidate(void* bufferList) = 0;
    virtual int32_t GetSize(void* bufferList, uint64_t* size) = 0;
    virtual int32_t GetEndianness(void* bufferList, int32_t* littleEndian) = 0;
};

#pragma once

#include <ddk/CSPIBase.h>

#include <cstdint>

class CSPIRegPort : public CSPIBase<CSPIRegPort> {
public:
    virtual bool Supported(CDDKBufferList* bufferList) = 0;
    virtual int32_t Read(CDDKBufferList* bufferList, void* buffer, uint64_t address,
                         uint64_t length) = 0;
    virtual int32_t Write(CDDKBufferList* bufferList, const void* buffer, uint64_t address,
                          uint64_t length) = 0;
    virtual int32_t GetAccessMode(CDDKBufferList* bufferList, uint64_t address, int32_t* mode) = 0;
    virtual int32_t GetPortName(CDDKBufferList* bufferList, char* destination,
                                uint32_t* length) = 0;
    virtual int32_t Invalidate(CDDKBufferList* bufferList) = 0;
    virtual int32_t GetSize(CDDKBufferList* bufferList, uint64_t* size) = 0;
    virtual int32_t GetEndianness(CDDKBufferList* bufferList, int32_t* littleEndian) = 0;
};

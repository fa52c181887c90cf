#pragma once

#include <ddk/CSPIBase.h>

#include <cstdint>

/// Streaming acquisition.
class CSPIGrab2 : public CSPIBase<CSPIGrab2> {
public:
    virtual bool Supported(void* bufferList) = 0;
    virtual int32_t GrabStart(void* bufferList) = 0;
    virtual int32_t GrabWait(void* bufferList, int32_t* bufferIndex) = 0;
    virtual int32_t GrabStop(void* bufferList, uint8_t flag) = 0;
    virtual int32_t GrabInfo(void* bufferList, int32_t command, double* value) = 0;
};

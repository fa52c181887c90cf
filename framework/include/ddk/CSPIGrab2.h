#pragma once

#include <ddk/CSPIBase.h>

#include <cstdint>

/// Streaming acquisition.
class CSPIGrab2 : public CSPIBase<CSPIGrab2> {
public:
    virtual bool Supported(CDDKBufferList* bufferList) = 0;
    virtual int32_t GrabStart(CDDKBufferList* bufferList) = 0;
    virtual int32_t GrabWait(CDDKBufferList* bufferList, int32_t* bufferIndex) = 0;
    virtual int32_t GrabStop(CDDKBufferList* bufferList, uint8_t flag) = 0;
    virtual int32_t GrabInfo(CDDKBufferList* bufferList, int32_t command, double* value) = 0;
};

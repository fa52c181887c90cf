#pragma once

#include <ddk/CSPIBase.h>

#include <cstdint>

class CSPIPingPong : public CSPIBase<CSPIPingPong> {
public:
    virtual bool Supported(CDDKBufferList* bufferList) = 0;
    virtual int32_t Start(CDDKBufferList* bufferList) = 0;
    virtual int32_t Wait(CDDKBufferList* bufferList, int32_t* bufferIndex) = 0;
    virtual int32_t Stop(CDDKBufferList* bufferList) = 0;
    virtual int32_t Status(CDDKBufferList* bufferList, int32_t* status) = 0;
};

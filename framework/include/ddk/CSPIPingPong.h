#pragma once

#include <ddk/CSPIBase.h>

#include <cstdint>

class CSPIPingPong : public CSPIBase<CSPIPingPong> {
public:
    virtual bool Supported(void* bufferList) = 0;
    virtual int32_t Start(void* bufferList) = 0;
    virtual int32_t Wait(void* bufferList, int32_t* bufferIndex) = 0;
    virtual int32_t Stop(void* bufferList) = 0;
    virtual int32_t Status(void* bufferList, int32_t* status) = 0;
};

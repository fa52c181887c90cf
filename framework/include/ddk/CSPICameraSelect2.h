#pragma once

#include <ddk/CSPIBase.h>

#include <cstdint>

/// Ports (cameras) of the channel's board.
class CSPICameraSelect2 : public CSPIBase<CSPICameraSelect2> {
public:
    virtual bool Supported(void* bufferList) = 0;
    virtual int32_t PortCount(void* bufferList, int32_t* count) = 0;
    virtual int32_t CheckPort(void* bufferList, int32_t port) = 0;
    virtual int32_t CurrentPort(void* bufferList, int32_t* port) = 0;
};

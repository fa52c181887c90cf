#pragma once

#include <ddk/CSPIBase.h>

#include <cstdint>

/// Ports (cameras) of the channel's board.
class CSPICameraSelect2 : public CSPIBase<CSPICameraSelect2> {
public:
    virtual bool Supported(CDDKBufferList* bufferList) = 0;
    virtual int32_t PortCount(CDDKBufferList* bufferList, int32_t* count) = 0;
    virtual int32_t CheckPort(CDDKBufferList* bufferList, int32_t port) = 0;
    virtual int32_t CurrentPort(CDDKBufferList* bufferList, int32_t* port) = 0;
};

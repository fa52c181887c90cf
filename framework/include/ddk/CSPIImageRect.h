#pragma once

#include <ddk/CSPIBase.h>

#include <cstdint>

/// Image size and offset of a channel (no buffer list). `changed` points into
/// scratch memory of the framework (8 bytes for the size, 24 for the offset).
class CSPIImageRect : public CSPIBase<CSPIImageRect> {
public:
    virtual bool Supported(CDDKBufferList* bufferList) = 0;
    virtual int32_t ImageSize(uint32_t action, int32_t* width, int32_t* height,
                              uint8_t* changed) = 0;
    virtual int32_t ImageOffset(uint32_t action, int32_t* x, int32_t* y, uint8_t* changed) = 0;
};

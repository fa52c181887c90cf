#pragma once

#include <ddk/CSPIBase.h>

#include <cstdint>

/// Single images and the acquisition time-out. The buffer list is the image's.
class CSPIGrabber : public CSPIBase<CSPIGrabber> {
public:
    virtual bool Supported(CDDKBufferList* bufferList) = 0;
    virtual int32_t Snap(CDDKBufferList* bufferList) = 0;
    virtual int32_t SnapArea(CDDKBufferList* bufferList, int64_t a, int64_t b, int64_t c) = 0;
    virtual void Empty() = 0;
    virtual int32_t SetTimeout(int32_t milliseconds) = 0;
    virtual int32_t GetTimeout(uint32_t* milliseconds) = 0;
};

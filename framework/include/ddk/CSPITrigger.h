#pragma once

#include <ddk/CSPIBase.h>

#include <cstdint>

class CSPITrigger : public CSPIBase<CSPITrigger> {
public:
    virtual bool Supported(CDDKBufferList* bufferList) = 0;
    virtual int32_t SetTriggerMode(CDDKBufferList* bufferList, int32_t mode) = 0;
};

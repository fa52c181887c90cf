#pragma once

#include <ddk/CSPIBase.h>

#include <cstdint>

class CSPITrigger : public CSPIBase<CSPITrigger> {
public:
    virtual bool Supported(void* bufferList) = 0;
    virtual int32_t SetTriggerMode(void* bufferList, int32_t mode) = 0;
};

#pragma once

#include <ddk/CSPIBase.h>

#include <cstdint>

class CSPISoftwareTrigger : public CSPIBase<CSPISoftwareTrigger> {
public:
    virtual int32_t SendTrigger(CDDKBufferList* bufferList, uint32_t argument) = 0;
    virtual bool Supported(CDDKBufferList* bufferList) = 0;
};

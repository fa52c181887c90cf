#pragma once

#include <ddk/CSPIBase.h>

#include <cstdint>

class CSPIBoardSelect2 : public CSPIBase<CSPIBoardSelect2> {
public:
    virtual bool Supported(CDDKBufferList* bufferList) = 0;
    virtual int32_t BoardCount(CDDKBufferList* bufferList, int32_t* count) = 0;
};

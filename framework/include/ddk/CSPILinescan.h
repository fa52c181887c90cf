#pragma once

#include <ddk/CSPIBase.h>

#include <cstdint>

class CSPILinescan : public CSPIBase<CSPILinescan> {
public:
    virtual int32_t SetLineCount(CDDKBufferList* bufferList, int32_t lines) = 0;
};

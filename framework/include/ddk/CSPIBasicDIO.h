#pragma once

#include <ddk/CSPIBase.h>

#include <cstdint>

class CSPIBasicDIO : public CSPIBase<CSPIBasicDIO> {
public:
    virtual bool Supported(CDDKBufferList* bufferList) = 0;
    virtual int32_t GetInputCount(CDDKBufferList* bufferList, uint32_t* count) = 0;
    virtual int32_t GetOutputCount(CDDKBufferList* bufferList, uint32_t* count) = 0;
    virtual int32_t ReadInput(CDDKBufferList* bufferList, uint32_t line, uint8_t* state) = 0;
    virtual int32_t ReadInputs(CDDKBufferList* bufferList, uint64_t* states) = 0;
    virtual int32_t WriteOutput(CDDKBufferList* bufferList, uint32_t line, uint8_t state) = 0;
    virtual int32_t WriteOutputs(CDDKBufferList* bufferList, uint64_t states) = 0;
    virtual int32_t ReadOutput(CDDKBufferList* bufferList, uint32_t line, uint8_t* state) = 0;
    virtual int32_t ReadOutputs(CDDKBufferList* bufferList, uint64_t* states) = 0;
};

#pragma once

#include <ddk/CSPIBase.h>

#include <cstdint>

class CSPIBasicDIO : public CSPIBase<CSPIBasicDIO> {
public:
    virtual bool Supported(void* bufferList) = 0;
    virtual int32_t GetInputCount(void* bufferList, uint32_t* count) = 0;
    virtual int32_t GetOutputCount(void* bufferList, uint32_t* count) = 0;
    virtual int32_t ReadInput(void* bufferList, uint32_t line, uint8_t* state) = 0;
    virtual int32_t ReadInputs(void* bufferList, uint64_t* states) = 0;
    virtual int32_t WriteOutput(void* bufferList, uint32_t line, uint8_t state) = 0;
    virtual int32_t WriteOutputs(void* bufferList, uint64_t states) = 0;
    virtual int32_t ReadOutput(void* bufferList, uint32_t line, uint8_t* state) = 0;
    virtual int32_t ReadOutputs(void* bufferList, uint64_t* states) = 0;
};

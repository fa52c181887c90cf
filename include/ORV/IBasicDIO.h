#pragma once

#include <ORV/IDisposableType.h>
#include <ORV/ORVTypes.h>

namespace ORV {

class IBasicDIO : public virtual IDisposableType {
public:
    virtual int32_t GetInputCount(uint32_t* count) = 0;
    virtual int32_t GetOutputCount(uint32_t* count) = 0;
    virtual int32_t ReadInput(uint32_t line, uint8_t* state) = 0;
    virtual int32_t ReadInputs(uint64_t* states) = 0;
    virtual int32_t WriteOutput(uint32_t line, uint8_t state) = 0;
    virtual int32_t WriteOutputs(uint64_t states) = 0;
    virtual int32_t ReadOutput(uint32_t line, uint8_t* state) = 0;
    virtual int32_t ReadOutputs(uint64_t* states) = 0;
};

} // namespace ORV

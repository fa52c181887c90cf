#pragma once

#include <ORV/IBasicDIO.h>
#include <ddk/CGeneric.h>

/// The host's ORV::IBasicDIO table of a generic image object: forwards each
/// operation to the generic object, which outlives its tables.
class CImpIBasicDIO : public ORV::IBasicDIO {
public:
    explicit CImpIBasicDIO(CGeneric* generic) : generic_(generic) {}

    int32_t GetInputCount(uint32_t* count) override { return generic_->DioInputCount(count); }
    int32_t GetOutputCount(uint32_t* count) override { return generic_->DioOutputCount(count); }
    int32_t ReadInput(uint32_t line, uint8_t* state) override {
        return generic_->DioReadInput(line, state);
    }
    int32_t ReadInputs(uint64_t* states) override { return generic_->DioReadInputs(states); }
    int32_t WriteOutput(uint32_t line, uint8_t state) override {
        return generic_->DioWriteOutput(line, state);
    }
    int32_t WriteOutputs(uint64_t states) override { return generic_->DioWriteOutputs(states); }
    int32_t ReadOutput(uint32_t line, uint8_t* state) override {
        return generic_->DioReadOutput(line, state);
    }
    int32_t ReadOutputs(uint64_t* states) override { return generic_->DioReadOutputs(states); }

private:
    CGeneric* generic_;
};

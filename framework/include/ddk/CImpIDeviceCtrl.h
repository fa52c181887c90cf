#pragma once

#include <ORV/IDeviceCtrl.h>
#include <ddk/CGeneric.h>

/// The host's ORV::IDeviceCtrl table of a generic image object: forwards each
/// operation to the generic object, which outlives its tables.
class CImpIDeviceCtrl : public ORV::IDeviceCtrl {
public:
    explicit CImpIDeviceCtrl(CGeneric* generic) : generic_(generic) {}

    int32_t TextCommand(uint32_t command, const char* input, uint64_t inputLength, char* output,
                        uint64_t* outputSize) override {
        return generic_->TextCommand(command, input, inputLength, output, outputSize);
    }
    int32_t RawCommand(uint32_t command, const void* input, uint64_t inputSize, void* output,
                       uint64_t* outputSize) override {
        return generic_->RawCommand(command, input, inputSize, output, outputSize);
    }

private:
    CGeneric* generic_;
};

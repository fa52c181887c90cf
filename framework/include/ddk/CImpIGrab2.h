#pragma once

#include <ORV/IGrab2.h>
#include <ddk/CGeneric.h>

/// The host's ORV::IGrab2 table of a generic image object: forwards each
/// operation to the generic object, which outlives its tables.
class CImpIGrab2 : public ORV::IGrab2 {
public:
    explicit CImpIGrab2(CGeneric* generic) : generic_(generic) {}

    int32_t GrabStart() override { return generic_->GrabStart(); }
    int32_t GrabWait(int32_t* bufferIndex) override { return generic_->GrabWait(bufferIndex); }
    int32_t GrabStop(uint8_t flag) override { return generic_->GrabStop(flag); }
    int32_t GrabInfo(int32_t command, double* value) override {
        return generic_->GrabInfo(command, value);
    }

private:
    CGeneric* generic_;
};

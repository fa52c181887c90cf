#pragma once

#include <ORV/IPingPong.h>
#include <ddk/CGeneric.h>

/// The host's ORV::IPingPong table of a generic image object: forwards each
/// operation to the generic object, which outlives its tables.
class CImpIPingPong : public ORV::IPingPong {
public:
    explicit CImpIPingPong(CGeneric* generic) : generic_(generic) {}

    int32_t Start() override { return generic_->PingPongStart(); }
    int32_t Wait(int32_t* bufferIndex) override { return generic_->PingPongWait(bufferIndex); }
    int32_t Stop() override { return generic_->PingPongStop(); }
    int32_t Status(int32_t* status) override { return generic_->PingPongStatus(status); }

private:
    CGeneric* generic_;
};

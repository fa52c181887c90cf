#pragma once

#include <ORV/ISoftwareTrigger.h>
#include <ddk/CGeneric.h>

/// The host's ORV::ISoftwareTrigger table of a generic image object: forwards each
/// operation to the generic object, which outlives its tables.
class CImpISoftwareTrigger : public ORV::ISoftwareTrigger {
public:
    explicit CImpISoftwareTrigger(CGeneric* generic) : generic_(generic) {}

    int32_t Trigger(uint32_t argument) override { return generic_->Trigger(argument); }

private:
    CGeneric* generic_;
};

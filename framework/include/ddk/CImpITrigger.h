#pragma once

#include <ORV/ITrigger.h>
#include <ddk/CGeneric.h>

/// The host's ORV::ITrigger table of a generic image object: forwards each
/// operation to the generic object, which outlives its tables.
class CImpITrigger : public ORV::ITrigger {
public:
    explicit CImpITrigger(CGeneric* generic) : generic_(generic) {}

    int32_t SetTriggerMode(int32_t mode) override { return generic_->SetTriggerMode(mode); }

private:
    CGeneric* generic_;
};

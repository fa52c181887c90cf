#pragma once

#include <ORV/IPropertyChange.h>
#include <ddk/CGeneric.h>

/// The host's ORV::IPropertyChange table of a generic image object: forwards each
/// operation to the generic object, which outlives its tables.
class CImpIPropertyChange : public ORV::IPropertyChange {
public:
    explicit CImpIPropertyChange(CGeneric* generic) : generic_(generic) {}

    int32_t SetImageChangedCallback(ORV::ImageChangedCallback callback, void* user) override {
        return generic_->SetImageChangedCallback(callback, user);
    }
    int32_t ClearImageChangedCallback() override { return generic_->ClearImageChangedCallback(); }

private:
    CGeneric* generic_;
};

#pragma once

#include <ORV/ICameraSelect2.h>
#include <ddk/CGeneric.h>

/// The host's ORV::ICameraSelect2 table of a generic image object: forwards each
/// operation to the generic object, which outlives its tables.
class CImpICameraSelect2 : public ORV::ICameraSelect2 {
public:
    explicit CImpICameraSelect2(CGeneric* generic) : generic_(generic) {}

    int32_t GetCameraCount(int32_t* count) override { return generic_->GetCameraCount(count); }
    int32_t GetCurrentCamera(int32_t* index) override { return generic_->GetCurrentCamera(index); }
    int32_t SetCamera(int32_t index, ORHandle* newImage) override {
        return generic_->SetCamera(index, newImage);
    }

private:
    CGeneric* generic_;
};

#pragma once

#include <ORV/IImageRect.h>
#include <ddk/CGeneric.h>

/// The host's ORV::IImageRect table of a generic image object: forwards each
/// operation to the generic object, which outlives its tables.
class CImpIImageRect : public ORV::IImageRect {
public:
    explicit CImpIImageRect(CGeneric* generic) : generic_(generic) {}

    int32_t ImageSize(uint32_t action, int32_t* width, int32_t* height,
                      ORHandle* newImage) override {
        return generic_->ImageSize(action, width, height, newImage);
    }
    int32_t ImageOffset(uint32_t action, int32_t* x, int32_t* y) override {
        return generic_->ImageOffset(action, x, y);
    }

private:
    CGeneric* generic_;
};

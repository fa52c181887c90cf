#pragma once

#include <ORV/IGrabber.h>
#include <ddk/CGeneric.h>

/// The host's ORV::IGrabber table of a generic image object: forwards each
/// operation to the generic object, which outlives its tables.
class CImpIGrabber : public ORV::IGrabber {
public:
    explicit CImpIGrabber(CGeneric* generic) : generic_(generic) {}

    int32_t Snap() override { return generic_->Snap(); }
    int32_t Reserved() override { return generic_->GrabberReserved(); }
    int32_t SetTimeout(uint32_t milliseconds) override {
        return generic_->SetTimeout(milliseconds);
    }
    int32_t NotImplemented() override { return generic_->GrabberNotImplemented(); }
    int32_t SnapArea(int64_t a, int64_t b, int64_t c) override {
        return generic_->SnapArea(a, b, c);
    }
    int32_t SetUserPointer(void* user) override { return generic_->SetUserPointer(user); }
    int32_t GetModuleIdentifier(uint8_t* identifier) override {
        return generic_->GetModuleIdentifier(identifier);
    }

private:
    CGeneric* generic_;
};

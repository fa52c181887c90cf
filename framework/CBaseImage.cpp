#include <ddk/CBaseImage.h>

#include "CallImageProvider.h"

#include <ddk/CGeneric.h>
#include <ddk/CImageInstanceDataWrapper.h>
#include <ddk/CLockGuard.h>
#include <ddk/DDKChannel.h>

#include <ORV/ResultCodes.h>

#include <nwLogging/LogMacros.h>

#include <stdexcept>
#include <utility>

CBaseImage::CBaseImage(std::shared_ptr<DDKChannel> channel, orvBase::shared_handle owner,
                       CGeneric* generic)
    : channel_(std::move(channel)), owner_(std::move(owner)), generic_(owner_.get()),
      genericObject_(generic), log_(nwLogging::get_logger("BaseImg")) {}

CBaseImage::~CBaseImage() {
    NWLOG(log_, nwLogging::level_trace, "DTOR " << static_cast<const void*>(this));
    if (orvBase::shared_handle generic = generic_.lock())
        genericObject_->StopGrabOfReleasedImage(wrapper_);
    if (channel_)
        channel_->Detach(wrapper_, 0, nullptr);
    channel_.reset();
    ReleaseOwner();
}

ORTypeKey CBaseImage::TypeKey() {
    static const ORTypeKey key = ORBase_RegisterTypeKey("ORDDK-CBaseImage");
    return key;
}

void CBaseImage::AllocateBuffer() {
    if (!channel_ || channel_->Attach(wrapper_) < 0)
        throw std::runtime_error("Alloc Buffer failed");
}

CDDKBufferList* CBaseImage::BufferList() const {
    return wrapper_ != nullptr ? wrapper_->bufferList : nullptr;
}

void CBaseImage::ReleaseOwner() {
    orvBase::shared_handle owner;
    {
        CLockGuard guard(ownerLock_);
        owner = std::move(owner_);
    }
    // Released outside the lock: this may destroy the generic object.
}

int32_t CBaseImage::GetDimensions(int32_t* planes, int32_t* width, int32_t* height) {
    return CallImageProvider(channel_, &CSPIVpa::ImageDimensions, BufferList(), planes, width,
                             height);
}

int32_t CBaseImage::GetDataType(uint32_t plane, int32_t* dataType) {
    return CallImageProvider(channel_, &CSPIVpa::PlaneDataType, BufferList(), plane, dataType);
}

int32_t CBaseImage::GetPlaneAddress(uint32_t plane, void** base, const ORV::VpaEntry** vpaTable) {
    return CallImageProvider(channel_, &CSPIVpa::PlaneAddress, BufferList(), plane, base, vpaTable);
}

int32_t CBaseImage::GetCoordinateSystem(double* system) {
    return coordinates_.Get(system);
}

int32_t CBaseImage::SetCoordinateSystem(const double* system) {
    return coordinates_.Set(system);
}

#include <ddk/CRingBufferImage.h>

#include "CallImageProvider.h"

#include <ddk/CImageInstanceDataWrapper.h>
#include <ddk/DDKChannel.h>

#include <ORBase/ORBaseApi.h>
#include <ORV/ResultCodes.h>

#include <utility>

CRingBufferImage::CRingBufferImage(std::shared_ptr<DDKChannel> channel,
                                   CImageInstanceDataWrapper* wrapper, int32_t index)
    : channel_(std::move(channel)), wrapper_(wrapper), index_(index) {
    channel_->Attach(wrapper_);
}

CRingBufferImage::~CRingBufferImage() {
    channel_->Detach(wrapper_, 0, nullptr);
}

ORTypeKey CRingBufferImage::TypeKey() {
    static const ORTypeKey key = ORBase_RegisterTypeKey("ORDDK-CRingBufferImage");
    return key;
}

int32_t CRingBufferImage::GetDimensions(int32_t* planes, int32_t* width, int32_t* height) {
    return CallImageProvider(channel_, &CSPIRingBuffer::BufferDimensions, wrapper_->bufferList,
                             index_, planes, width, height);
}

int32_t CRingBufferImage::GetDataType(uint32_t plane, int32_t* dataType) {
    return CallImageProvider(channel_, &CSPIRingBuffer::BufferDataType, wrapper_->bufferList,
                             index_, plane, dataType);
}

int32_t CRingBufferImage::GetPlaneAddress(uint32_t plane, void** base, const ORV::VpaEntry** vpa) {
    return CallImageProvider(channel_, &CSPIRingBuffer::BufferPlane, wrapper_->bufferList, index_,
                             plane, base, vpa);
}

int32_t CRingBufferImage::GetCoordinateSystem(double* system) {
    return coordinates_.Get(system);
}

int32_t CRingBufferImage::SetCoordinateSystem(const double* system) {
    return coordinates_.Set(system);
}

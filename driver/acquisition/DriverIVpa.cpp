#include "acquisition/DriverIVpa.h"

#include "acquisition/DriverBufferList.h"
#include "board/DriverChannel.h"

#include <ORV/ResultCodes.h>

CDriverIVpa::CDriverIVpa(CDriverChannel& channel) : channel_(&channel) {}

int32_t CDriverIVpa::ImageDimensions(CDDKBufferList* bufferList, int32_t* planes, int32_t* width,
                                     int32_t* height) {
    const CDriverBufferList* list = CDriverBufferList::Of(bufferList);
    if (list == nullptr || planes == nullptr || width == nullptr || height == nullptr)
        return ORV::E_INVALIDARG;
    *planes = static_cast<int32_t>(channel_->Planes());
    *width = static_cast<int32_t>(list->HostWidth());
    *height = static_cast<int32_t>(list->HostHeight());
    planesInverted_.store(channel_->PlaneOrderInverted());
    return ORV::OK;
}

int32_t CDriverIVpa::PlaneDataType(CDDKBufferList* bufferList, uint32_t, int32_t* dataType) {
    if (bufferList == nullptr || dataType == nullptr)
        return ORV::E_INVALIDARG;
    *dataType = static_cast<int32_t>(channel_->PixelDepth());
    return ORV::OK;
}

int32_t CDriverIVpa::PlaneAddress(CDDKBufferList* bufferList, uint32_t plane, void** base,
                                  const ORV::VpaEntry** vpa) {
    const CDriverBufferList* list = CDriverBufferList::Of(bufferList);
    if (list == nullptr || base == nullptr || vpa == nullptr)
        return ORV::E_INVALIDARG;
    // The plane order is the one ImageDimensions last reported to the host.
    ImageLayout layout = list->Layout();
    layout.planesInverted = planesInverted_.load();
    *base = PlaneBase(layout, list->CurrentImage(), plane);
    *vpa = list->VpaTable();
    return ORV::OK;
}

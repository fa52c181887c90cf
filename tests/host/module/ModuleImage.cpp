#include "ModuleImage.h"

#include "ModuleState.h"

#include <ORV/ResultCodes.h>

#include <algorithm>
#include <utility>

namespace testmodule {

namespace {
constexpr int32_t width = 640;
constexpr int32_t height = 480;
} // namespace

ModuleImage::ModuleImage(orvBase::shared_handle owner)
    : owner_(std::move(owner)), pixels_(width * height, 0), vpa_(std::max(width, height)) {
    for (int32_t index = 0; index < static_cast<int32_t>(vpa_.size()); ++index)
        vpa_[index] = {index, static_cast<int64_t>(index) * width};
    for (int32_t y = 0; y < height; ++y)
        for (int32_t x = 0; x < width; ++x)
            pixels_[y * width + x] = static_cast<uint8_t>(x + y);
    LiveObjects().fetch_add(1);
}

// owner_ goes last, after the members: the generic object may go with it.
ModuleImage::~ModuleImage() {
    LiveObjects().fetch_sub(1);
}

int32_t ModuleImage::GetDimensions(int32_t* planes, int32_t* w, int32_t* h) {
    *planes = 1;
    *w = width;
    *h = height;
    return ORV::OK;
}

int32_t ModuleImage::GetDataType(uint32_t plane, int32_t* dataType) {
    if (plane != 0)
        return ORV::E_INVALIDARG;
    *dataType = 1;
    return ORV::OK;
}

int32_t ModuleImage::GetPlaneAddress(uint32_t plane, void** base, const ORV::VpaEntry** vpa) {
    if (plane != 0)
        return ORV::E_INVALIDARG;
    *base = pixels_.data();
    *vpa = vpa_.data();
    return ORV::OK;
}

int32_t ModuleImage::GetCoordinateSystem(double* system) {
    std::copy(system_, system_ + 6, system);
    return ORV::OK;
}

int32_t ModuleImage::SetCoordinateSystem(const double* system) {
    std::copy(system, system + 6, system_);
    return ORV::OK;
}

} // namespace testmodule

#pragma once
// The module's image object: describes a 640 x 480 gray image and holds the
// owner handle of its generic object (its base).

#include <ORBase/ORBase.h>
#include <ORV/IImageVPA.h>

#include <cstdint>
#include <vector>

namespace testmodule {

class ModuleImage : public ORV::IImageVPA {
public:
    explicit ModuleImage(orvBase::shared_handle owner);
    ~ModuleImage() override;
    ModuleImage(const ModuleImage&) = delete;
    ModuleImage& operator=(const ModuleImage&) = delete;

    int32_t GetDimensions(int32_t* planes, int32_t* width, int32_t* height) override;
    int32_t GetDataType(uint32_t plane, int32_t* dataType) override;
    int32_t GetPlaneAddress(uint32_t plane, void** base, const ORV::VpaEntry** vpa) override;
    int32_t GetCoordinateSystem(double* system) override;
    int32_t SetCoordinateSystem(const double* system) override;

private:
    // Declared first so that it is released last, even when construction fails.
    orvBase::shared_handle owner_;
    std::vector<uint8_t> pixels_;
    std::vector<ORV::VpaEntry> vpa_;
    double system_[6] = {0, 0, 1, 0, 0, 1};
};

} // namespace testmodule

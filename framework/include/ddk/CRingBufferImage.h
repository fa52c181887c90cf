#pragma once

#include <ORBase/ORBaseApi.h>
#include <ORV/IImageVPA.h>
#include <ddk/CCoordinateSystem.h>
#include <ddk/CGlobalObj.h>

#include <memory>

class DDKChannel;
struct CImageInstanceDataWrapper;

/// One entry of the ring buffer as a host image object. It shares the buffer list
/// of the image it was made from, so the buffers stay valid while it lives.
class CRingBufferImage : public ORV::IImageVPA {
public:
    CRingBufferImage(std::shared_ptr<DDKChannel> channel, CImageInstanceDataWrapper* wrapper,
                     int32_t index);
    ~CRingBufferImage() override;
    CRingBufferImage(const CRingBufferImage&) = delete;
    CRingBufferImage& operator=(const CRingBufferImage&) = delete;

    int32_t GetDimensions(int32_t* planes, int32_t* width, int32_t* height) override;
    int32_t GetDataType(uint32_t plane, int32_t* dataType) override;
    int32_t GetPlaneAddress(uint32_t plane, void** base, const ORV::VpaEntry** vpa) override;
    int32_t GetCoordinateSystem(double* system) override;
    int32_t SetCoordinateSystem(const double* system) override;

    static ORTypeKey TypeKey();

private:
    GlobalObjRef liveReference_;
    std::shared_ptr<DDKChannel> channel_;
    CImageInstanceDataWrapper* wrapper_;
    int32_t index_;
    CCoordinateSystem coordinates_;
};

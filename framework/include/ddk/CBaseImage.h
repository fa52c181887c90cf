#pragma once

#include <ORBase/ORBase.h>
#include <ORV/IImageVPA.h>
#include <ddk/CCoordinateSystem.h>
#include <ddk/CGlobalObj.h>
#include <ddk/CMutex.h>

#include <nwLogging/Logger.h>

#include <memory>
#include <mutex>

class CDDKBufferList;
class DDKChannel;
class CGeneric;
struct CImageInstanceDataWrapper;

/// A host image object: describes the current buffer of its buffer list through
/// the channel's VPA provider, and keeps its generic object alive through the
/// owner handle for as long as it lives, also after image replacement made a
/// newer image the current one: the host reaches the generic object's interface
/// tables through every image it holds.
class CBaseImage : public ORV::IImageVPA {
public:
    CBaseImage(std::shared_ptr<DDKChannel> channel, orvBase::shared_handle owner,
               CGeneric* generic);
    ~CBaseImage() override;
    CBaseImage(const CBaseImage&) = delete;
    CBaseImage& operator=(const CBaseImage&) = delete;

    /// Creates or shares the buffer list; std::runtime_error "Alloc Buffer failed".
    void AllocateBuffer();
    CImageInstanceDataWrapper* Wrapper() const { return wrapper_; }
    CDDKBufferList* BufferList() const;
    const std::shared_ptr<DDKChannel>& Channel() const { return channel_; }
    /// Stops keeping the generic object alive (image replacement).
    void ReleaseOwner();

    int32_t GetDimensions(int32_t* planes, int32_t* width, int32_t* height) override;
    int32_t GetDataType(uint32_t plane, int32_t* dataType) override;
    int32_t GetPlaneAddress(uint32_t plane, void** base, const ORV::VpaEntry** vpa) override;
    int32_t GetCoordinateSystem(double* system) override;
    int32_t SetCoordinateSystem(const double* system) override;

    static ORTypeKey TypeKey();

private:
    GlobalObjRef liveReference_;
    std::shared_ptr<DDKChannel> channel_;
    CImageInstanceDataWrapper* wrapper_ = nullptr;
    CMutex<std::mutex> ownerLock_;
    orvBase::shared_handle owner_ DDK_GUARDED_BY(ownerLock_);
    orvBase::weak_handle generic_;
    CGeneric* genericObject_;
    CCoordinateSystem coordinates_;
    nwLogging::logger_ptr log_;
};

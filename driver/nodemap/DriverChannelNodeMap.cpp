// The channel's node maps: the camera (remote device) and the DMA (grabber)
// node map, handed to the host as proxies. While a proxy lives the channel keeps
// itself alive and its liveness entry refuses the module's unloading.
#include "board/DriverChannel.h"

#include "nodemap/NodeMapBuilder.h"
#include "nodemap/NodeMapLibraryPin.h"

#include <ddk/NodeMapLiveness.h>

#include <ORBase/ORBaseApi.h>
#include <ORGenApi/ORGenApi.h>
#include <ORV/ResultCodes.h>

#include <nwLogging/LogMacros.h>

namespace {

/// Keeps the host's node-map library loaded for the module's life; defined with
/// the node-map code so that it is linked wherever node maps are handed out.
const CNodeMapLibraryPin nodeMapLibraryPin;

/// What differs between the two node maps.
struct NodeMapKind {
    uint32_t bit;
    ORGenApi_ProxyReleased released;
    const char* proxyFailed;
    const char* requested;
    const char* destructed;
};

/// The proxy a link names, with one more reference for the caller; null when it
/// is already being released (its release callback is on its way and clears the
/// link), so no caller is handed a proxy that is about to go.
ORHandle ShareLive(ORHandle link) {
    return ORBase_PromoteWeak(link) >= 0 ? link : nullptr;
}

/// Hands out a proxy of `nodeMap` into `link`. The channel references itself
/// and marks its liveness entry first, as the proxy's release will undo both; a
/// proxy that cannot be made undoes them here, moving the self-reference into
/// `dropped` so that the caller lets go of it only after its lock.
ORHandle HandOut(CDriverChannel& channel, CHostObject nodeMap, ORHandle& link,
                 const NodeMapKind& kind, std::shared_ptr<CDriverChannel>& dropped) {
    const uint32_t key = channel.GetChannelKey();
    std::shared_ptr<CDriverChannel>& self = channel.NodeMapSelfReference();
    self = std::static_pointer_cast<CDriverChannel>(channel.weak_from_this().lock());
    CNodeMapLiveness::Set(key, kind.bit);
    if (ORGenApi_CreateProxy(nodeMap.get(), kind.released, &channel, &link) != 0) {
        NWLOG_HERE(channel.Log(), nwLogging::level_warn, "DriverChannel",
                   channel.Prefix() << '\t' << kind.proxyFailed);
        ORCImg_ReleaseObject(&link);
        link = nullptr;
        // No release callback will come for a proxy that was never made.
        if (CNodeMapLiveness::Clear(key, kind.bit) == 0)
            dropped = std::move(self);
        return nullptr;
    }
    nodeMap.reset(); // the proxy holds the node map
    NWLOG(channel.Log(), nwLogging::level_info, channel.Prefix() << '\t' << kind.requested);
    return link;
}

/// The release callback's work; see CameraNodeMapReleased.
int32_t Released(void* context, ORHandle& (CDriverChannel::*linkOf)(), const NodeMapKind& kind) {
    if (context == nullptr)
        return ORV::E_INVALIDARG;
    auto& channel = *static_cast<CDriverChannel*>(context);
    // The last release may drop the channel's last reference: it goes after the
    // lock, which lives in the channel, has been released.
    std::shared_ptr<CDriverChannel> dropped;
    {
        std::lock_guard<std::recursive_mutex> guard(channel.NodeMapLock());
        const uint32_t left = CNodeMapLiveness::Clear(channel.GetChannelKey(), kind.bit);
        (channel.*linkOf)() = nullptr;
        NWLOG(channel.Log(), nwLogging::level_info, kind.destructed);
        if (left == 0)
            dropped = std::move(channel.NodeMapSelfReference());
    }
    return ORV::OK;
}

const NodeMapKind cameraKind = {CNodeMapLiveness::CameraBit, CDriverChannel::CameraNodeMapReleased,
                                "Unable to create node amp proxy", "Requested Camera node map",
                                "Camera node map destructed"};
const NodeMapKind dmaKind = {CNodeMapLiveness::DmaBit, CDriverChannel::DmaNodeMapReleased,
                             "Unable to create node map proxy", "Requested DMA node map",
                             "DMA node map destructed"};

} // namespace

ORHandle CDriverChannel::GetCameraNodeMap() {
    std::shared_ptr<CDriverChannel> dropped; // let go of after the lock
    std::lock_guard<std::recursive_mutex> guard(nodeMapLock_);
    if (cameraNodeMapLink_ != nullptr)
        return ShareLive(cameraNodeMapLink_);
    CHostObject nodeMap = CNodeMapBuilder::Camera(*this);
    if (!nodeMap)
        return nullptr;
    return HandOut(*this, std::move(nodeMap), cameraNodeMapLink_, cameraKind, dropped);
}

ORHandle CDriverChannel::GetDmaNodeMap() {
    std::shared_ptr<CDriverChannel> dropped; // let go of after the lock
    std::lock_guard<std::recursive_mutex> guard(nodeMapLock_);
    if (dmaNodeMapLink_ != nullptr)
        return ShareLive(dmaNodeMapLink_);
    CHostObject nodeMap = CNodeMapBuilder::Dma(*this);
    if (!nodeMap)
        return nullptr;
    return HandOut(*this, std::move(nodeMap), dmaNodeMapLink_, dmaKind, dropped);
}

int32_t CDriverChannel::CameraNodeMapReleased(void* context) {
    return Released(context, &CDriverChannel::CameraNodeMapLink, cameraKind);
}

int32_t CDriverChannel::DmaNodeMapReleased(void* context) {
    return Released(context, &CDriverChannel::DmaNodeMapLink, dmaKind);
}

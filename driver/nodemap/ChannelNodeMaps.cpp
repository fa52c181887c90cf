#include "nodemap/ChannelNodeMaps.h"

#include "board/DriverChannel.h"
#include "nodemap/NodeMapBuilder.h"
#include "nodemap/NodeMapLibraryPin.h"

#include <ddk/CLockGuard.h>
#include <ddk/NodeMapLiveness.h>

#include <ORBase/ORBaseApi.h>
#include <ORGenApi/ORGenApi.h>
#include <ORV/ResultCodes.h>

#include <nwLogging/LogMacros.h>

namespace {

/// Keeps the host's node-map library loaded for the module's life; defined with
/// the node-map code so that it is linked wherever node maps are handed out.
const CNodeMapLibraryPin nodeMapLibraryPin;

/// What differs between the two node maps, by kind.
struct KindTexts {
    uint32_t bit;
    const char* proxyFailed;
    const char* requested;
    const char* destructed;
};

const KindTexts kinds[] = {{CNodeMapLiveness::CameraBit, "Unable to create node amp proxy",
                            "Requested Camera node map", "Camera node map destructed"},
                           {CNodeMapLiveness::DmaBit, "Unable to create node map proxy",
                            "Requested DMA node map", "DMA node map destructed"}};

/// The proxy a link names, with one more reference for the caller; null when it
/// is already being released (its release callback is on its way and clears the
/// link), so no caller is handed a proxy that is about to go.
ORHandle ShareLive(ORHandle link) {
    return ORBase_PromoteWeak(link) >= 0 ? link : nullptr;
}

} // namespace

CChannelNodeMaps::CChannelNodeMaps(CDriverChannel& channel) : channel_(&channel) {}

ORHandle CChannelNodeMaps::Get(Kind kind) {
    std::shared_ptr<CDriverChannel> dropped; // let go of after the lock
    CLockGuard guard(lock_);
    if (links_[kind] != nullptr)
        return ShareLive(links_[kind]);
    CHostObject nodeMap =
        kind == Camera ? CNodeMapBuilder::Camera(*channel_) : CNodeMapBuilder::Dma(*channel_);
    if (!nodeMap)
        return nullptr;
    return HandOut(kind, std::move(nodeMap), dropped);
}

ORHandle CChannelNodeMaps::HandOut(Kind kind, CHostObject nodeMap,
                                   std::shared_ptr<CDriverChannel>& dropped) {
    // The channel references itself and marks its liveness entry first, as the
    // proxy's release will undo both.
    const KindTexts& texts = kinds[kind];
    const uint32_t key = channel_->GetChannelKey();
    ORHandle& link = links_[kind];
    self_ = std::static_pointer_cast<CDriverChannel>(channel_->weak_from_this().lock());
    CNodeMapLiveness::Set(key, texts.bit);
    if (ORGenApi_CreateProxy(nodeMap.get(), kind == Camera ? CameraReleased : DmaReleased, channel_,
                             &link) != 0) {
        NWLOG_HERE(channel_->Log(), nwLogging::level_warn, "DriverChannel",
                   channel_->Prefix() << '\t' << texts.proxyFailed);
        ORCImg_ReleaseObject(&link);
        link = nullptr;
        // No release callback will come for a proxy that was never made.
        if (CNodeMapLiveness::Clear(key, texts.bit) == 0)
            dropped = std::move(self_);
        return nullptr;
    }
    nodeMap.reset(); // the proxy holds the node map
    NWLOG(channel_->Log(), nwLogging::level_info, channel_->Prefix() << '\t' << texts.requested);
    return link;
}

ORHandle CChannelNodeMaps::Link(Kind kind) const {
    CLockGuard guard(lock_);
    return links_[kind];
}

bool CChannelNodeMaps::HoldsChannel() const {
    CLockGuard guard(lock_);
    return self_ != nullptr;
}

int32_t CChannelNodeMaps::CameraReleased(void* context) {
    if (context == nullptr)
        return ORV::E_INVALIDARG;
    return static_cast<CDriverChannel*>(context)->NodeMaps().Release(Camera);
}

int32_t CChannelNodeMaps::DmaReleased(void* context) {
    if (context == nullptr)
        return ORV::E_INVALIDARG;
    return static_cast<CDriverChannel*>(context)->NodeMaps().Release(Dma);
}

int32_t CChannelNodeMaps::Release(Kind kind) {
    // The last release may drop the channel's last reference, and with it this
    // object and its lock: the reference goes after the lock has been released.
    std::shared_ptr<CDriverChannel> dropped;
    {
        CLockGuard guard(lock_);
        const uint32_t left = CNodeMapLiveness::Clear(channel_->GetChannelKey(), kinds[kind].bit);
        links_[kind] = nullptr;
        NWLOG(channel_->Log(), nwLogging::level_info, kinds[kind].destructed);
        if (left == 0)
            dropped = std::move(self_);
    }
    return ORV::OK;
}

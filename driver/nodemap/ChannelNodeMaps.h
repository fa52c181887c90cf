#pragma once

#include "nodemap/HostObject.h"

#include <ORV/ORVTypes.h>
#include <ddk/CMutex.h>
#include <ddk/ThreadSafety.h>

#include <cstdint>
#include <memory>
#include <mutex>

class CDriverChannel;

/// The node maps a channel hands to the host: the camera's (remote device) and
/// the DMA's (grabber), each as a proxy. One proxy of each lives at a time and a
/// second request shares it. While a proxy lives the channel keeps itself alive
/// and its liveness entry refuses the module's unloading; the proxy's release
/// callback undoes both.
///
/// Threads: any host thread. `lock_` (recursive) guards the two links and the
/// self-reference.
class CChannelNodeMaps {
public:
    enum Kind : int { Camera = 0, Dma = 1 };

    explicit CChannelNodeMaps(CDriverChannel& channel);
    CChannelNodeMaps(const CChannelNodeMaps&) = delete;
    CChannelNodeMaps& operator=(const CChannelNodeMaps&) = delete;

    /// A proxy of the node map of `kind` with one reference for the caller, or
    /// null when there is none (or the live one is just being released).
    ORHandle Get(Kind kind) DDK_EXCLUDES(lock_);
    /// The live proxy of `kind`, null when none is alive.
    ORHandle Link(Kind kind) const DDK_EXCLUDES(lock_);
    /// Whether a live proxy keeps the channel alive.
    bool HoldsChannel() const DDK_EXCLUDES(lock_);

    /// Release callbacks registered with the proxies; `context` is the channel.
    /// 0x80000002 without one.
    static int32_t CameraReleased(void* context);
    static int32_t DmaReleased(void* context);

private:
    /// Hands out a proxy of `nodeMap` into the link of `kind`; a proxy that
    /// cannot be made moves the self-reference into `dropped`, for the caller to
    /// let go of after its lock.
    ORHandle HandOut(Kind kind, CHostObject nodeMap, std::shared_ptr<CDriverChannel>& dropped)
        DDK_REQUIRES(lock_);
    int32_t Release(Kind kind) DDK_EXCLUDES(lock_);

    CDriverChannel* channel_;
    mutable CMutex<std::recursive_mutex> lock_;
    ORHandle links_[2] DDK_GUARDED_BY(lock_) = {nullptr, nullptr};
    /// Held while a proxy is alive, so that the channel outlives it.
    std::shared_ptr<CDriverChannel> self_ DDK_GUARDED_BY(lock_);
};

#pragma once
// What the host hands out for a node map: a counted stand-in that tells its
// creator when the last reference goes.

#include "NodeMap.h"

#include <ORBase/ORBase.h>
#include <ORGenApi/ORGenApi.h>
#include <ORV/IDisposableType.h>

namespace orgenapi {

/// Lives in an ORBase block under TypeKey() and keeps its node map alive.
/// Immutable after construction.
class NodeMapProxy : public ORV::IDisposableType {
public:
    static ORTypeKey TypeKey();

    NodeMapProxy(orvBase::shared_handle nodeMapHandle, NodeMap* nodeMap,
                 ORGenApi_ProxyReleased released, void* context);
    /// Calls the release callback, then lets go of the node map, so the creator
    /// still finds the node map alive when it hears of the release.
    ~NodeMapProxy() override;
    NodeMapProxy(const NodeMapProxy&) = delete;
    NodeMapProxy& operator=(const NodeMapProxy&) = delete;

    NodeMap* Map() const { return nodeMap_; }

private:
    orvBase::shared_handle nodeMapHandle_;
    NodeMap* nodeMap_;
    ORGenApi_ProxyReleased released_;
    void* context_;
};

} // namespace orgenapi

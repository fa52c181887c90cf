#include "NodeMapProxy.h"

#include <utility>

namespace orgenapi {

ORTypeKey NodeMapProxy::TypeKey() {
    static const ORTypeKey key = ORBase_RegisterTypeKey("ORGenApi-NodeMapProxy");
    return key;
}

NodeMapProxy::NodeMapProxy(orvBase::shared_handle nodeMapHandle, NodeMap* nodeMap,
                           ORGenApi_ProxyReleased released, void* context)
    : nodeMapHandle_(std::move(nodeMapHandle)), nodeMap_(nodeMap), released_(released),
      context_(context) {}

NodeMapProxy::~NodeMapProxy() {
    if (released_ != nullptr) {
        try {
            released_(context_);
        } catch (...) {
            // The callback is the creator's; its failure must not stop the release.
        }
    }
}

} // namespace orgenapi

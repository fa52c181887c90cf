#include "HandleLookup.h"

#include "NodeMapProxy.h"

#include <ORV/ResultCodes.h>

#include <new>

namespace orgenapi {

NodeMap* NodeMapOf(ORHandle handle) {
    void* object = nullptr;
    if (handle == nullptr || ORBase_QueryObject(handle, NodeMap::TypeKey(), &object) < 0)
        return nullptr;
    return static_cast<NodeMap*>(static_cast<ORV::IDisposableType*>(object));
}

NodeMap* NodeMapOrProxyOf(ORHandle handle) {
    if (NodeMap* nodeMap = NodeMapOf(handle))
        return nodeMap;
    void* object = nullptr;
    if (handle == nullptr || ORBase_QueryObject(handle, NodeMapProxy::TypeKey(), &object) < 0)
        return nullptr;
    return static_cast<NodeMapProxy*>(static_cast<ORV::IDisposableType*>(object))->Map();
}

int32_t ResultOf(const std::exception& error) {
    return dynamic_cast<const std::bad_alloc*>(&error) != nullptr ? ORV::E_OUTOFMEMORY
                                                                  : ORV::E_FAIL;
}

} // namespace orgenapi

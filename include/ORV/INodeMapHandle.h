#pragma once

#include <ORV/IDisposableType.h>
#include <ORV/ORVTypes.h>

namespace ORV {

/// The camera's node map. The handle is a node-map proxy of ORGenApi; the caller
/// owns one reference and releases it with ORCImg_ReleaseObject.
class INodeMapHandle : public virtual IDisposableType {
public:
    virtual int32_t GetNodeMap(ORHandle* nodeMap) = 0;
};

} // namespace ORV

#pragma once

#include <ORV/IDisposableType.h>
#include <ORV/ORVTypes.h>

namespace ORV {

/// Node maps by name ("TLDevice": the grabber DMA, "Device": the camera).
class INodeMapHandle2 : public virtual IDisposableType {
public:
    virtual int32_t GetNodeMapCount(int32_t* count) = 0;
    /// A null destination answers the length including the terminating zero.
    virtual int32_t GetNodeMapName(int32_t index, char* destination, uint32_t* length) = 0;
    virtual int32_t GetNodeMap(const char* name, ORHandle* nodeMap) = 0;
    virtual int32_t GetNodeMapDescription(const char* name, char* destination,
                                          uint32_t* length) = 0;
};

} // namespace ORV

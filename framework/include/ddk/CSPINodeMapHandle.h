#pragma once

#include <ORV/ORVTypes.h>
#include <ddk/CSPIBase.h>

#include <cstdint>

class CSPINodeMapHandle : public CSPIBase<CSPINodeMapHandle> {
public:
    virtual bool Supported(CDDKBufferList* bufferList) = 0;
    /// The camera node map (a proxy the caller owns), or a failure without one.
    virtual int32_t GetNodeMap(CDDKBufferList* bufferList, ORHandle* nodeMap) = 0;
};

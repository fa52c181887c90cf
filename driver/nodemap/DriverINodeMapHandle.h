#pragma once

#include "acquisition/ProviderGuard.h"

#include <ddk/CSPINodeMapHandle.h>

#include <cstdint>

class CDriverChannel;

/// The single node map of the host's INodeMapHandle: the channel's camera node
/// map (a proxy the caller owns).
///
/// Threads: no state of its own; the channel's node-map lock guards the rest.
class CDriverINodeMapHandle : public CSPINodeMapHandle {
public:
    explicit CDriverINodeMapHandle(CDriverChannel& channel);

    bool Supported(CDDKBufferList* bufferList) override;
    /// 0 with a handle; 0x80000013 with a null handle when there is none.
    int32_t GetNodeMap(CDDKBufferList* bufferList, ORHandle* nodeMap) override;

private:
    CDriverChannel* channel_;
    CProviderGuard guard_;
};

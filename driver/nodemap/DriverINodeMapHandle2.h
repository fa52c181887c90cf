#pragma once

#include "acquisition/ProviderGuard.h"

#include <ddk/CSPINodeMapHandle2.h>

#include <cstdint>
#include <vector>

class CDriverChannel;

/// The named node maps of the host's INodeMapHandle2: "TLDevice" (the grabber's
/// DMA node map) and "Device" (the camera's), names compared exactly.
///
/// Threads: no state of its own; the channel's node-map lock guards the rest.
class CDriverINodeMapHandle2 : public CSPINodeMapHandle2 {
public:
    static constexpr const char* TransportLayerName = "TLDevice";
    static constexpr const char* DeviceName = "Device";

    explicit CDriverINodeMapHandle2(CDriverChannel& channel);

    bool Supported(CDDKBufferList* bufferList) override;
    /// Empties `list`, then names the two node maps.
    int32_t ListNodeMaps(CDDKBufferList* bufferList, std::vector<NodeMapEntry>& list) override;
    /// 0 with a handle; 0x80000013 with a null handle for any other name or when
    /// the channel has no such node map.
    int32_t GetNodeMapByName(CDDKBufferList* bufferList, const char* name,
                             ORHandle* nodeMap) override;

private:
    CDriverChannel* channel_;
    CProviderGuard guard_;
};

#include "nodemap/DriverINodeMapHandle2.h"

#include "board/DriverChannel.h"

#include <ORV/ResultCodes.h>

#include <cstring>

CDriverINodeMapHandle2::CDriverINodeMapHandle2(CDriverChannel& channel)
    : channel_(&channel), guard_(channel, channel.Log(), "DriverINodeMapHandle2",
                                 "NodeMapHandle2: ", ProviderExceptionTexts{""}) {}

bool CDriverINodeMapHandle2::Supported(CDDKBufferList*) {
    return true;
}

int32_t CDriverINodeMapHandle2::ListNodeMaps(CDDKBufferList*, std::vector<NodeMapEntry>& list) {
    return guard_.Run([&] {
        list.clear();
        list.push_back({TransportLayerName, "Transport Layer Device Nodemap"});
        list.push_back({DeviceName, "Remote Device Nodemap"});
    });
}

int32_t CDriverINodeMapHandle2::GetNodeMapByName(CDDKBufferList*, const char* name,
                                                 ORHandle* nodeMap) {
    if (nodeMap == nullptr)
        return ORV::E_INVALIDARG;
    *nodeMap = nullptr;
    if (name == nullptr)
        return ORV::E_NOTSUPPORTED;
    const int32_t result = guard_.Run([&] {
        if (std::strcmp(name, DeviceName) == 0)
            *nodeMap = channel_->GetCameraNodeMap();
        else if (std::strcmp(name, TransportLayerName) == 0)
            *nodeMap = channel_->GetDmaNodeMap();
    });
    if (result != ORV::OK)
        return result;
    return *nodeMap != nullptr ? ORV::OK : ORV::E_NOTSUPPORTED;
}

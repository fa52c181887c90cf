#include "nodemap/DriverINodeMapHandle2.h"

#include "board/DriverChannel.h"

#include <ORV/ResultCodes.h>

#include <nwLogging/LogMacros.h>

#include <cstring>
#include <exception>

CDriverINodeMapHandle2::CDriverINodeMapHandle2(CDriverChannel& channel) : channel_(&channel) {}

bool CDriverINodeMapHandle2::Supported(void*) {
    return true;
}

int32_t CDriverINodeMapHandle2::ListNodeMaps(void*, std::vector<NodeMapEntry>& list) {
    try {
        list.clear();
        list.push_back({TransportLayerName, "Transport Layer Device Nodemap"});
        list.push_back({DeviceName, "Remote Device Nodemap"});
        return ORV::OK;
    } catch (const std::exception& error) {
        NWLOG_HERE(channel_->Log(), nwLogging::level_err, "DriverINodeMapHandle2",
                   channel_->Prefix() << "\tNodeMapHandle2: " << error.what());
        return ORV::E_FAIL;
    }
}

int32_t CDriverINodeMapHandle2::GetNodeMapByName(void*, const char* name, ORHandle* nodeMap) {
    if (nodeMap == nullptr)
        return ORV::E_INVALIDARG;
    *nodeMap = nullptr;
    if (name == nullptr)
        return ORV::E_NOTSUPPORTED;
    try {
        if (std::strcmp(name, DeviceName) == 0)
            *nodeMap = channel_->GetCameraNodeMap();
        else if (std::strcmp(name, TransportLayerName) == 0)
            *nodeMap = channel_->GetDmaNodeMap();
    } catch (const std::exception& error) {
        NWLOG_HERE(channel_->Log(), nwLogging::level_err, "DriverINodeMapHandle2",
                   channel_->Prefix() << "\tNodeMapHandle2: " << error.what());
        return ORV::E_FAIL;
    }
    return *nodeMap != nullptr ? ORV::OK : ORV::E_NOTSUPPORTED;
}

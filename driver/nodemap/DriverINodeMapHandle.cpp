#include "nodemap/DriverINodeMapHandle.h"

#include "board/DriverChannel.h"

#include <ORV/ResultCodes.h>

#include <nwLogging/LogMacros.h>

#include <exception>

CDriverINodeMapHandle::CDriverINodeMapHandle(CDriverChannel& channel) : channel_(&channel) {}

bool CDriverINodeMapHandle::Supported(void*) {
    return true;
}

int32_t CDriverINodeMapHandle::GetNodeMap(void*, ORHandle* nodeMap) {
    if (nodeMap == nullptr)
        return ORV::E_INVALIDARG;
    *nodeMap = nullptr;
    try {
        *nodeMap = channel_->GetCameraNodeMap();
    } catch (const std::exception& error) {
        NWLOG_HERE(channel_->Log(), nwLogging::level_err, "DriverINodeMapHandle",
                   channel_->Prefix() << "\tNodeMapHandle: " << error.what());
        return ORV::E_FAIL;
    }
    return *nodeMap != nullptr ? ORV::OK : ORV::E_NOTSUPPORTED;
}

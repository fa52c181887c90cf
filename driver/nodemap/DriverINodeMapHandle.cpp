#include "nodemap/DriverINodeMapHandle.h"

#include "board/DriverChannel.h"

#include <ORV/ResultCodes.h>

CDriverINodeMapHandle::CDriverINodeMapHandle(CDriverChannel& channel)
    : channel_(&channel), guard_(channel, channel.Log(), "DriverINodeMapHandle",
                                 "NodeMapHandle: ", ProviderExceptionTexts{""}) {}

bool CDriverINodeMapHandle::Supported(CDDKBufferList*) {
    return true;
}

int32_t CDriverINodeMapHandle::GetNodeMap(CDDKBufferList*, ORHandle* nodeMap) {
    if (nodeMap == nullptr)
        return ORV::E_INVALIDARG;
    *nodeMap = nullptr;
    if (const int32_t result = guard_.Run([&] { *nodeMap = channel_->GetCameraNodeMap(); });
        result != ORV::OK)
        return result;
    return *nodeMap != nullptr ? ORV::OK : ORV::E_NOTSUPPORTED;
}

#include "board/DriverICameraSelect2.h"

#include "acquisition/DriverBufferList.h"
#include "board/DriverBoard.h"
#include "board/DriverChannel.h"

#include <ORV/ResultCodes.h>

#include <nwLogging/LogMacros.h>
#include <nwLogging/nwLogging.h>

CDriverICameraSelect2::CDriverICameraSelect2(CDriverChannel& channel)
    : channel_(&channel), log_(nwLogging::root_logger()),
      guard_(channel, log_, "DriverICameraSelect2", "CameraSelect2: ") {}

bool CDriverICameraSelect2::Supported(CDDKBufferList*) {
    return true;
}

int32_t CDriverICameraSelect2::Count() const {
    return channel_->DriverBoard().GetChannelCount();
}

int32_t CDriverICameraSelect2::PortCount(CDDKBufferList*, int32_t* count) {
    if (count == nullptr)
        return ORV::E_INVALIDARG;
    *count = Count();
    return ORV::OK;
}

int32_t CDriverICameraSelect2::CurrentPort(CDDKBufferList*, int32_t* port) {
    if (port == nullptr)
        return ORV::E_INVALIDARG;
    *port = static_cast<int32_t>(channel_->DmaIndex());
    return ORV::OK;
}

int32_t CDriverICameraSelect2::CheckPort(CDDKBufferList* bufferList, int32_t port) {
    const CDriverBufferList* list = CDriverBufferList::Of(bufferList);
    if (list == nullptr)
        return guard_.NoBufferList();
    if (list->GetState() != CDriverBufferList::State::Allocated)
        return ORV::E_PORTCHANGE;
    if (port >= 0 && port < Count())
        return ORV::OK;
    NWLOG_HERE(log_, nwLogging::level_warn, "DriverICameraSelect2",
               channel_->Prefix() << "\tCameraSelect2: "
                                  << "Port index out of range: " << port);
    return ORV::E_INVALIDARG;
}

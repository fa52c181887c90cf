#include "acquisition/DriverIBufferContainer.h"

#include "acquisition/DriverBufferList.h"
#include "board/DriverChannel.h"

#include <ORV/ResultCodes.h>

#include <nwLogging/LogMacros.h>
#include <nwLogging/nwLogging.h>

#include <memory>

namespace {

// Every failure of the container counts as memory that could not be had.
const ProviderFailure allocationFailed{nwLogging::level_err,
                                       "ChannelAlloc exception found: ", ORV::E_OUTOFMEMORY};
const ProviderFailure releaseFailed{nwLogging::level_err,
                                    "ChannelFreeBuffer exception found: ", ORV::E_OUTOFMEMORY};

} // namespace

CDriverIBufferContainer::CDriverIBufferContainer(CDriverChannel& channel)
    : channel_(&channel), log_(nwLogging::root_logger()),
      guard_(channel, log_, "DriverIBufferContainer",
             "Buffer container: ", ProviderExceptionTexts{"", "unknown"}) {}

int32_t CDriverIBufferContainer::AllocateBufferList(CDDKBufferList** bufferList) {
    if (bufferList == nullptr)
        return ORV::E_INVALIDARG;
    const int32_t result =
        guard_.Run([&] { *bufferList = new CDriverBufferList(*channel_); }, allocationFailed);
    if (result == ORV::OK)
        NWLOG(log_, nwLogging::level_info,
              channel_->Prefix() << "\tBuffer container: Allocated buffer list");
    return result;
}

int32_t CDriverIBufferContainer::FreeBufferList(CDDKBufferList*& bufferList, int32_t, void*) {
    int32_t result = ORV::OK;
    if (bufferList != nullptr) {
        std::unique_ptr<CDriverBufferList> list(CDriverBufferList::Of(bufferList));
        // Stopped here rather than in the destructor so that a failure is logged;
        // the destructor then releases whatever the failed stop left behind.
        if (list->IsAcquiring())
            result = guard_.Run([&] { list->StopAcquisition(); }, releaseFailed);
    }
    NWLOG(log_, nwLogging::level_info,
          channel_->Prefix() << "\tBuffer container: Freed buffer list");
    return result;
}

#include "acquisition/DriverIBufferContainer.h"

#include "acquisition/DriverBufferList.h"
#include "board/DriverChannel.h"

#include <ORV/ResultCodes.h>

#include <nwLogging/LogMacros.h>
#include <nwLogging/nwLogging.h>

#include <exception>
#include <memory>

CDriverIBufferContainer::CDriverIBufferContainer(CDriverChannel& channel)
    : channel_(&channel), log_(nwLogging::root_logger()) {}

int32_t CDriverIBufferContainer::AllocateBufferList(void** bufferList) {
    if (bufferList == nullptr)
        return ORV::E_INVALIDARG;
    try {
        *bufferList = new CDriverBufferList(*channel_);
    } catch (const std::exception& e) {
        NWLOG_HERE(log_, nwLogging::level_err, "DriverIBufferContainer",
                   channel_->Prefix()
                       << "\tBuffer container: ChannelAlloc exception found: " << e.what());
        return ORV::E_OUTOFMEMORY;
    } catch (...) {
        NWLOG_HERE(log_, nwLogging::level_err, "DriverIBufferContainer",
                   channel_->Prefix()
                       << "\tBuffer container: ChannelAlloc exception found: unknown");
        return ORV::E_OUTOFMEMORY;
    }
    NWLOG(log_, nwLogging::level_info,
          channel_->Prefix() << "\tBuffer container: Allocated buffer list");
    return ORV::OK;
}

int32_t CDriverIBufferContainer::FreeBufferList(void*& bufferList, int32_t, void*) {
    int32_t result = ORV::OK;
    if (bufferList != nullptr) {
        std::unique_ptr<CDriverBufferList> list(static_cast<CDriverBufferList*>(bufferList));
        // Stopped here rather than in the destructor so that a failure is logged;
        // the destructor then releases whatever the failed stop left behind.
        if (list->IsAcquiring()) {
            try {
                list->StopAcquisition();
            } catch (const std::exception& e) {
                NWLOG_HERE(log_, nwLogging::level_err, "DriverIBufferContainer",
                           channel_->Prefix()
                               << "\tBuffer container: ChannelFreeBuffer exception found: "
                               << e.what());
                result = ORV::E_OUTOFMEMORY;
            } catch (...) {
                NWLOG_HERE(log_, nwLogging::level_err, "DriverIBufferContainer",
                           channel_->Prefix()
                               << "\tBuffer container: ChannelFreeBuffer exception found: unknown");
                result = ORV::E_OUTOFMEMORY;
            }
        }
    }
    NWLOG(log_, nwLogging::level_info,
          channel_->Prefix() << "\tBuffer container: Freed buffer list");
    return result;
}

#include "acquisition/DriverIGrab2.h"

#include "acquisition/DriverBufferList.h"
#include "board/DriverChannel.h"

#include <ORV/ResultCodes.h>

#include <nwLogging/LogMacros.h>
#include <nwLogging/nwLogging.h>

CDriverIGrab2::CDriverIGrab2(CDriverChannel& channel)
    : channel_(&channel), log_(nwLogging::root_logger()),
      guard_(channel, log_, "DriverIGrab2", "Grab2: ") {}

bool CDriverIGrab2::Supported(CDDKBufferList*) {
    return true;
}

int32_t CDriverIGrab2::GrabStart(CDDKBufferList* bufferList) {
    const int32_t result =
        guard_.RunOn(bufferList, [](CDriverBufferList& list) { list.StartAcquisition(); });
    if (result == ORV::OK)
        NWLOG(log_, nwLogging::level_info, channel_->Prefix() << "\tGrab2: Grab started");
    return result;
}

int32_t CDriverIGrab2::GrabWait(CDDKBufferList* bufferList, int32_t* bufferIndex) {
    CDriverBufferList* list = CDriverBufferList::Of(bufferList);
    if (list == nullptr)
        return guard_.NoBufferList();
    if (bufferIndex == nullptr)
        return ORV::E_INVALIDARG;
    NWLOG(log_, nwLogging::level_debug, channel_->Prefix() << "\tGrab2: Image requested.");
    return guard_.Run([&] {
        // Two statements: the index is read only after the wait wrote it.
        const int32_t outcome = list->WaitForImage(*bufferIndex);
        return WaitResult(outcome, *bufferIndex);
    });
}

int32_t CDriverIGrab2::WaitResult(int32_t outcome, int32_t bufferIndex) {
    switch (outcome) {
    case CDriverBufferList::WaitDelivered:
        NWLOG(log_, nwLogging::level_debug,
              channel_->Prefix() << "\tGrab2: Image acquired: " << bufferIndex);
        return ORV::OK;
    case CDriverBufferList::WaitStopped:
        NWLOG(log_, nwLogging::level_info,
              channel_->Prefix() << "\tGrab2: async stop of acquesition: " << bufferIndex);
        return ORV::E_FAIL;
    case CDriverBufferList::WaitOutOfBuffers:
        NWLOG(log_, nwLogging::level_info,
              channel_->Prefix() << "\tGrab2: out of buffers: " << bufferIndex);
        return ORV::E_FAIL;
    case CDriverBufferList::WaitTimedOut:
        NWLOG_HERE(log_, nwLogging::level_warn, "DriverIGrab2",
                   channel_->Prefix() << "\tGrab2: sdk timout: " << bufferIndex);
        return ORV::E_TIMEOUT;
    default:
        NWLOG_HERE(log_, nwLogging::level_err, "DriverIGrab2",
                   channel_->Prefix() << "\tGrab2: unkonown error: " << bufferIndex);
        return ORV::E_FAIL;
    }
}

int32_t CDriverIGrab2::GrabStop(CDDKBufferList* bufferList, uint8_t) {
    const int32_t result =
        guard_.RunOn(bufferList, [](CDriverBufferList& list) { list.StopAcquisition(); });
    if (result == ORV::OK)
        NWLOG(log_, nwLogging::level_info, channel_->Prefix() << "\tGrab2: Grab stopped");
    return result;
}

const char* CDriverIGrab2::CommandName(int32_t command) {
    switch (command) {
    case ImagesAcquired:
        return "GRAB_INFO_NUMBER_IMAGES_AQCUIRED";
    case ImagesLost:
        return "GRAB_INFO_NUMBER_IMAGES_LOST";
    case ImagesLostLocked:
        return "GRAB_INFO_NUMBER_IMAGES_LOST_LOCKED";
    case ImagesLocked:
        return "GRAB_INFO_NUMBER_IMAGES_LOCKED";
    case ImagesPending:
        return "GRAB_INFO_NUMBER_IMAGES_PENDIG";
    case GrabActive:
        return "GRAB_INFO_GRAB_ACTIVE";
    case Timestamp:
        return "GRAB_INFO_TIMESTAMP";
    default:
        return nullptr;
    }
}

double CDriverIGrab2::InfoValue(const CDriverBufferList& list, int32_t command) {
    switch (command) {
    case ImagesAcquired:
        return static_cast<double>(list.GetAcquiredCount());
    case ImagesLost:
        return static_cast<double>(list.GetLostCount());
    case ImagesLostLocked:
        return static_cast<double>(list.GetLostLockedCount());
    case ImagesLocked:
        return static_cast<double>(list.GetLockedCount());
    case ImagesPending:
        return static_cast<double>(list.GetPendingCount());
    case GrabActive:
        return list.IsAcquiring() ? 1.0 : 0.0;
    default:
        return list.GetLastTimestamp();
    }
}

int32_t CDriverIGrab2::GrabInfo(CDDKBufferList* bufferList, int32_t command, double* value) {
    const CDriverBufferList* list = CDriverBufferList::Of(bufferList);
    if (list == nullptr)
        return guard_.NoBufferList();
    const char* name = CommandName(command);
    if (name == nullptr) {
        NWLOG_HERE(log_, nwLogging::level_warn, "DriverIGrab2",
                   channel_->Prefix() << "\tGrab2: Unknown grab info parameter: " << command);
        return ORV::E_NOTSUPPORTED;
    }
    if (value == nullptr)
        return ORV::E_INVALIDARG;
    NWLOG(log_, nwLogging::level_debug, channel_->Prefix() << "\tGrab2: Requested " << name);
    // A failed question is only a warning: the acquisition itself is unharmed.
    const int32_t result = guard_.Run([&] { *value = InfoValue(*list, command); },
                                      ProviderFailure{nwLogging::level_warn});
    if (result == ORV::OK)
        NWLOG(log_, nwLogging::level_debug, channel_->Prefix() << "\tGrab2: Answer: " << *value);
    return result;
}

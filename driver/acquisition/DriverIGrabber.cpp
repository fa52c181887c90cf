#include "acquisition/DriverIGrabber.h"

#include "acquisition/DriverBufferList.h"
#include "board/DriverChannel.h"

#include <ORV/ResultCodes.h>

#include <nwLogging/LogMacros.h>
#include <nwLogging/nwLogging.h>

CDriverIGrabber::CDriverIGrabber(CDriverChannel& channel)
    : channel_(&channel), log_(nwLogging::root_logger()),
      guard_(channel, log_, "DriverIGrabber", "Grabber: ") {}

bool CDriverIGrabber::Supported(CDDKBufferList*) {
    return true;
}

int32_t CDriverIGrabber::Snap(CDDKBufferList* bufferList) {
    const int32_t result = guard_.RunOn(bufferList, [](CDriverBufferList& list) {
        list.StartAcquisition();
        int32_t index = 0;
        try {
            // The outcome is not looked at: a snap that found no image still ends.
            list.WaitForImage(index);
        } catch (...) {
            // Never leave the DMA running behind a failed snap.
            list.StopAcquisition();
            throw;
        }
        list.StopAcquisition();
    });
    if (result == ORV::OK)
        NWLOG(log_, nwLogging::level_info, channel_->Prefix() << "\tGrabber: Image snaped");
    return result;
}

int32_t CDriverIGrabber::SnapArea(CDDKBufferList*, int64_t, int64_t, int64_t) {
    return ORV::E_NOTSUPPORTED;
}

void CDriverIGrabber::Empty() {}

int32_t CDriverIGrabber::SetTimeout(int32_t milliseconds) {
    int32_t seconds = milliseconds / 1000;
    if (seconds <= 0) {
        NWLOG_HERE(log_, nwLogging::level_warn, "DriverIGrabber",
                   channel_->Prefix() << "\tGrabber: Timeouts below one second are not "
                                         "supported, timeout is set to 1 second");
        seconds = 1;
    }
    channel_->SetTimeoutSeconds(static_cast<uint32_t>(seconds));
    NWLOG(log_, nwLogging::level_info,
          channel_->Prefix() << "\tGrabber: set timeout = " << milliseconds);
    return ORV::OK;
}

int32_t CDriverIGrabber::GetTimeout(uint32_t* milliseconds) {
    if (milliseconds == nullptr)
        return ORV::E_INVALIDARG;
    const uint32_t seconds = channel_->TimeoutSeconds();
    NWLOG(log_, nwLogging::level_info,
          channel_->Prefix() << "\tGrabber: timeout (in seconds) = " << seconds);
    *milliseconds = seconds * 1000u;
    return ORV::OK;
}

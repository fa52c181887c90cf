// The DMA probe: how many DMAs, from 0 upwards, can really acquire into memory.
#include "board/DriverBoard.h"

#include "sdk/SdkErrorText.h"
#include "sdk/SdkMemory.h"
#include "system/DriverSystem.h"

#include <nwLogging/LogMacros.h>

namespace {

// A width or height this large is a broken report; probe with a small image.
constexpr uint32_t MaxProbeDimension = 65535;
constexpr uint32_t FallbackProbeDimension = 512;

} // namespace

uint32_t CDriverBoard::ProbeDmas() {
    const uint32_t defined = Configuration().UInt32(BoardKey("dmas")).value_or(MaxDmas);
    if (defined > MaxDmas) {
        NWLOG_AT(log_, nwLogging::level_warn, "DriverBoard", 358,
                 Prefix() << "INI file: number of defined DMAs exceeding max limit " << defined
                          << ">" << MaxDmas);
    } else if (defined == 0) {
        NWLOG_AT(log_, nwLogging::level_err, "DriverBoard", 360,
                 Prefix() << "INI file: number of defined DMAs exceeding min limit " << defined
                          << "<" << 1);
    }
    NWLOG(log_, nwLogging::level_info, Prefix() << "Checking defined number of DMAs = " << defined);

    uint32_t dma = 0;
    for (; dma < defined; ++dma) {
        const int32_t result = ProbeDma(dma);
        if (result != 0) {
            NWLOG(log_, nwLogging::level_info, Prefix() << "Found DMAS: " << dma);
            break;
        }
    }
    channelCount_ = dma;
    NWLOG(log_, nwLogging::level_info, Prefix() << "Number of DMas successfully setup");
    return channelCount_;
}

int32_t CDriverBoard::ProbeDma(uint32_t dma) {
    Fg_Grabber* grabber = grabber_.get();
    uint32_t width = 0;
    uint32_t height = 0;
    int32_t result = Fg_GetParameter(grabber, FG_PARAM_WIDTH, &width, dma);
    if (result == 0)
        result = Fg_GetParameter(grabber, FG_PARAM_HEIGHT, &height, dma);
    if (result != 0) {
        NWLOG(log_, nwLogging::level_info, Prefix() << "DMA dimension error = " << result);
        // Past the applet's last DMA the walk simply ends; any other reason is news.
        if (result != FG_ERR_INVALID_DMA)
            LogSdkReason(log_, nwLogging::level_info, Prefix(), FgLastErrorText(grabber));
        return result;
    }
    if (width > MaxProbeDimension)
        width = FallbackProbeDimension;
    if (height > MaxProbeDimension)
        height = FallbackProbeDimension;

    SdkMemory memory =
        SdkMemory::Allocate(grabber, static_cast<size_t>(width) * static_cast<size_t>(height), 1);
    if (!memory) {
        result = Fg_LastErrorNumber(grabber);
        // A refused allocation must never count as a working DMA.
        if (result == 0)
            result = FG_ERR_OUT_OF_MEMORY;
        NWLOG(log_, nwLogging::level_info, Prefix() << "Failed to alloc memory for DMA: " << dma);
        LogSdkReason(log_, nwLogging::level_info, Prefix(), FgLastErrorText(grabber));
        return result;
    }
    result = Fg_AcquireEx(grabber, dma, 1, FG_ACQ_STANDARD, memory.get());
    if (result == FG_ERR_INVALID_MEMORY)
        NWLOG(log_, nwLogging::level_info, Prefix() << "DMA " << dma << " INVALID_MEMORY");
    if (result == 0) {
        NWLOG(log_, nwLogging::level_info, Prefix() << "DMA " << dma << " OK");
    } else {
        NWLOG(log_, nwLogging::level_info, Prefix() << "DMA " << dma << " error = " << result);
        LogSdkReason(log_, nwLogging::level_info, Prefix(), FgLastErrorText(grabber));
    }
    int stopped = Fg_StopAcquire(grabber, dma, memory.get(), FG_STOP_SYNC);
    if (stopped != 0) {
        NWLOG_AT(log_, nwLogging::level_warn, "DriverBoard", 405,
                 Prefix() << "Failed to stop acquisition");
        LogSdkReason(log_, nwLogging::level_warn, Prefix(), FgLastErrorText(grabber));
        // A DMA left running stays busy for every later start: try once more,
        // and never count a DMA that cannot be stopped as working.
        if (result == 0 && stopped != FG_ERR_NOT_ACQUIRING)
            stopped = Fg_StopAcquire(grabber, dma, memory.get(), FG_STOP_SYNC);
        if (result == 0 && stopped != 0 && stopped != FG_ERR_NOT_ACQUIRING) {
            NWLOG_AT(log_, nwLogging::level_err, "DriverBoard", 405,
                     Prefix() << "DMA " << dma << " could not be stopped after the probe");
            result = stopped;
        }
    }
    if (memory.Free() != 0) {
        NWLOG_AT(log_, nwLogging::level_warn, "DriverBoard", 407,
                 Prefix() << "Failed to free memory");
        LogSdkReason(log_, nwLogging::level_warn, Prefix(), FgLastErrorText(grabber));
    }
    return result;
}

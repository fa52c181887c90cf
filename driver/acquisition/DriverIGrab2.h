#pragma once

#include "acquisition/ProviderGuard.h"

#include <ddk/CSPIGrab2.h>

#include <nwLogging/Logger.h>

#include <cstdint>

class CDriverChannel;

/// Streaming acquisition of one channel: start, wait for each next image, stop,
/// and the GRAB_INFO_* status questions. Turns the buffer list's outcomes and
/// exceptions into result codes and log lines.
///
/// Threads: no state and no lock of its own; any host thread may call it. A stop
/// from another thread ends a blocked wait (the buffer list waits without its
/// lock).
class CDriverIGrab2 : public CSPIGrab2 {
public:
    /// GrabInfo commands.
    enum Command : int32_t {
        ImagesAcquired = 0,
        ImagesLost = 1,
        ImagesLostLocked = 2,
        ImagesLocked = 3,
        ImagesPending = 4,
        GrabActive = 5,
        Timestamp = 6
    };

    explicit CDriverIGrab2(CDriverChannel& channel);

    bool Supported(CDDKBufferList* bufferList) override;
    int32_t GrabStart(CDDKBufferList* bufferList) override;
    int32_t GrabWait(CDDKBufferList* bufferList, int32_t* bufferIndex) override;
    /// The flag is ignored.
    int32_t GrabStop(CDDKBufferList* bufferList, uint8_t flag) override;
    int32_t GrabInfo(CDDKBufferList* bufferList, int32_t command, double* value) override;

    /// The command's name as logged; null for unknown commands.
    static const char* CommandName(int32_t command);

private:
    /// Maps a WaitForImage outcome to its result code, with its log line.
    int32_t WaitResult(int32_t outcome, int32_t bufferIndex);
    /// The value of a known command.
    double InfoValue(const CDriverBufferList& list, int32_t command);

    CDriverChannel* channel_;
    nwLogging::logger_ptr log_;
    CProviderGuard guard_;
};

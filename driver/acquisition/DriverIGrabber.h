#pragma once

#include "acquisition/ProviderGuard.h"

#include <ddk/CSPIGrabber.h>

#include <nwLogging/Logger.h>

#include <cstdint>

class CDriverChannel;

/// Single images and the acquisition time-out of one channel. Snap starts,
/// waits for one image and stops again on the buffer list it is given.
///
/// Threads: stateless apart from the channel pointer and the logger, so any host
/// thread may call it; the time-out is an atomic of the channel and the buffer
/// list serialises itself. The framework's locks keep a snap and a grab apart.
class CDriverIGrabber : public CSPIGrabber {
public:
    explicit CDriverIGrabber(CDriverChannel& channel);

    bool Supported(CDDKBufferList* bufferList) override;
    int32_t Snap(CDDKBufferList* bufferList) override;
    /// Not supported by this driver.
    int32_t SnapArea(CDDKBufferList* bufferList, int64_t a, int64_t b, int64_t c) override;
    void Empty() override;
    /// Stores whole seconds (at least one) in the channel.
    int32_t SetTimeout(int32_t milliseconds) override;
    int32_t GetTimeout(uint32_t* milliseconds) override;

private:
    CDriverChannel* channel_;
    nwLogging::logger_ptr log_;
    CProviderGuard guard_;
};

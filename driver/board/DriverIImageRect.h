#pragma once

#include "acquisition/ProviderGuard.h"

#include <ddk/CSPIImageRect.h>

#include <nwLogging/Logger.h>

#include <cstdint>

class CDriverChannel;

/// The DMA's image size and offset (SDK parameters 100/200 and 300/400). Action
/// 0 reads; actions 1 and 3 set the size, action 3 the offset, writing nothing
/// when the values are the current ones and putting the old ones back when a
/// write fails. The changed flag tells the framework to replace the image.
///
/// Threads: no state of its own; the framework's grab lock keeps changes apart
/// from acquisition.
class CDriverIImageRect : public CSPIImageRect {
public:
    explicit CDriverIImageRect(CDriverChannel& channel);

    bool Supported(CDDKBufferList* bufferList) override;
    int32_t ImageSize(uint32_t action, int32_t* width, int32_t* height, uint8_t* changed) override;
    int32_t ImageOffset(uint32_t action, int32_t* x, int32_t* y, uint8_t* changed) override;

private:
    int32_t Size(uint32_t action, int32_t* width, int32_t* height, uint8_t* changed);
    int32_t Offset(uint32_t action, int32_t* x, int32_t* y, uint8_t* changed);
    /// Action 0: the pair `get` reads from the channel, nothing changed.
    int32_t Current(int32_t (CDriverChannel::*get)(uint32_t&, uint32_t&), int32_t* first,
                    int32_t* second, uint8_t* changed);
    /// Logs the action refused for `what` ("size", "offset"); 0x80000002.
    int32_t Unsupported(const char* what, uint32_t action);

    CDriverChannel* channel_;
    nwLogging::logger_ptr log_;
    CProviderGuard guard_;
};

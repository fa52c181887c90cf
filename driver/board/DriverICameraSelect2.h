#pragma once

#include "acquisition/ProviderGuard.h"

#include <ddk/CSPICameraSelect2.h>

#include <nwLogging/Logger.h>

#include <cstdint>

class CDriverChannel;

/// The ports of the channel's board, which are its DMAs: how many, which one the
/// channel is, and whether a switch to another may happen now. The switch itself
/// is the framework's.
///
/// Threads: no state of its own; any host thread.
class CDriverICameraSelect2 : public CSPICameraSelect2 {
public:
    explicit CDriverICameraSelect2(CDriverChannel& channel);

    bool Supported(CDDKBufferList* bufferList) override;
    /// The board's number of DMAs.
    int32_t PortCount(CDDKBufferList* bufferList, int32_t* count) override;
    /// 0 when `port` exists and the buffer list is not acquiring; 0x8000002d
    /// while it acquires; 0x80000002 without a buffer list or for a port out of
    /// range.
    int32_t CheckPort(CDDKBufferList* bufferList, int32_t port) override;
    /// The channel's DMA index.
    int32_t CurrentPort(CDDKBufferList* bufferList, int32_t* port) override;

private:
    int32_t Count() const;

    CDriverChannel* channel_;
    nwLogging::logger_ptr log_;
    CProviderGuard guard_;
};

#pragma once

#include <ddk/CSPISoftwareTrigger.h>

#include <cstdint>

class CDriverChannel;

/// Fires one software trigger on the buffer list's DMA. The SDK's trigger call
/// is the one that answers non-zero for success.
///
/// Threads: no state of its own; any host thread.
class CDriverISoftwareTrigger : public CSPISoftwareTrigger {
public:
    explicit CDriverISoftwareTrigger(CDriverChannel& channel);

    /// 0 when the SDK sent the trigger, 0x80000001 when it refused; the argument
    /// is not used.
    int32_t SendTrigger(CDDKBufferList* bufferList, uint32_t argument) override;
    bool Supported(CDDKBufferList* bufferList) override;

private:
    CDriverChannel* channel_;
};

#pragma once

#include "acquisition/ProviderGuard.h"

#include <ddk/CSPIRingBuffer.h>

#include <nwLogging/Logger.h>

#include <cstdint>

class CDriverChannel;

/// The ring of image buffers of one channel: buffer count and lock mode (channel
/// settings, validated before they are set), unlocking, lock state, time stamps
/// and tags of single buffers, and the description of each buffer as an image.
/// Host indices are 0-based; the buffer list gets index + 1.
///
/// Threads: no state and no lock of its own; any host thread may call it. The
/// channel's settings are atomics; the buffer list serialises its SDK calls.
class CDriverIRingBuffer : public CSPIRingBuffer {
public:
    /// NumBuffers and LockMode actions.
    enum Action : uint32_t { Query = 0, Set = 1, Validate = 2 };
    /// BufferInfo types.
    enum InfoType : int32_t { InfoTimestamp = 0, InfoTag = 1, InfoLockState = 2 };
    /// RINGBUFFER_LOCKMODE_ON: acquired buffers stay locked until unlocked.
    static constexpr uint32_t LockModeOn = 2;

    explicit CDriverIRingBuffer(CDriverChannel& channel);

    bool Supported(CDDKBufferList* bufferList) override;
    int32_t NumBuffers(CDDKBufferList* bufferList, uint32_t action, int32_t* count) override;
    int32_t UnlockBuffer(CDDKBufferList* bufferList, int32_t index) override;
    int32_t LockMode(CDDKBufferList* bufferList, uint32_t action, uint32_t* mode) override;
    int32_t IsLocked(CDDKBufferList* bufferList, int32_t index, uint8_t* locked) override;
    int32_t BufferDimensions(CDDKBufferList* bufferList, int32_t index, int32_t* planes,
                             int32_t* width, int32_t* height) override;
    int32_t BufferDataType(CDDKBufferList* bufferList, int32_t index, uint32_t plane,
                           int32_t* dataType) override;
    int32_t BufferPlane(CDDKBufferList* bufferList, int32_t index, uint32_t plane, void** base,
                        const ORV::VpaEntry** vpa) override;
    /// Answers 1: the framework keeps the record of delivered buffers.
    int32_t BufferSequence(CDDKBufferList* bufferList, int32_t position, int32_t* index) override;
    int32_t BufferInfo(CDDKBufferList* bufferList, int32_t index, int32_t type,
                       double* value) override;

private:
    /// The common checks: a buffer list, and an index inside both the channel's
    /// ring and the list's own buffers. 0 or the failure's code, with its log line.
    int32_t Check(const CDriverBufferList* list, int32_t index);
    int32_t ValidateCount(int32_t count);
    int32_t ValidateMode(uint32_t mode);

    CDriverChannel* channel_;
    nwLogging::logger_ptr log_;
    CProviderGuard guard_;
};

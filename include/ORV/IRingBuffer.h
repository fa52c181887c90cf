#pragma once

#include <ORV/IDisposableType.h>
#include <ORV/ORVTypes.h>

namespace ORV {

enum RingBufferNumBufferAction : uint32_t {
    RINGBUFFER_NUMBUFFER_CMD_GET = 0,
    RINGBUFFER_NUMBUFFER_CMD_SET = 1,
    RINGBUFFER_NUMBUFFER_CMD_VALIDATE = 2,
};

enum RingBufferLockModeAction : uint32_t {
    RINGBUFFER_LOCKMODE_CMD_GET = 0,
    RINGBUFFER_LOCKMODE_CMD_SET = 1,
    RINGBUFFER_LOCKMODE_CMD_VALIDATE = 2,
};

enum RingBufferLockMode : uint32_t {
    RINGBUFFER_LOCKMODE_AUTO = 0,
    RINGBUFFER_LOCKMODE_OFF = 1,
    RINGBUFFER_LOCKMODE_ON = 2,
};

enum RingBufferInfoType : int32_t {
    RINGBUFFER_INFO_TIMESTAMP = 0,
    RINGBUFFER_INFO_TAG = 1,
    RINGBUFFER_INFO_LOCKSTATE = 2,
};

class IRingBuffer : public virtual IDisposableType {
public:
    /// Action 1 (set) hands back a new image with the new buffer count.
    virtual int32_t NumBuffers(uint32_t action, int32_t* count, ORHandle* newImage) = 0;
    virtual int32_t UnlockBuffer(int32_t index) = 0;
    virtual int32_t LockMode(uint32_t action, uint32_t* mode) = 0;
    virtual int32_t IsLocked(int32_t index, uint8_t* locked) = 0;
    /// An image object describing ring-buffer entry `index`.
    virtual int32_t GetBufferImage(int32_t index, ORHandle* image) = 0;
    /// Position 0 is the newest delivered buffer.
    virtual int32_t BufferSequence(int32_t position, int32_t* index) = 0;
    virtual int32_t BufferInfo(int32_t index, int32_t type, double* value) = 0;
};

} // namespace ORV

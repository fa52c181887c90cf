// Buffer list: SDK counters, per-buffer answers, unlocking and typed parameters.
#include "acquisition/DriverBufferList.h"

#include "board/DriverBoard.h"
#include "board/DriverChannel.h"
#include <FgTypeWidth.h>

#include <ORV/ResultCodes.h>
#include <ddk/CLockGuard.h>

#include <stdexcept>

int64_t CDriverBufferList::QueryStatus(int code, int64_t data) const {
    CLockGuard guard(lock_);
    return QueryStatusHeld(code, data);
}

int64_t CDriverBufferList::QueryStatusHeld(int code, int64_t data) const {
    return Fg_QueryStatus(channel_->DriverBoard().Grabber(), code, data, channel_->DmaIndex(),
                          head_.get());
}

int64_t CDriverBufferList::Counter(int code) const {
    CLockGuard guard(lock_);
    Require(State::AcquisitionStarted, "Not in state \"AcquesitionStarted\" for GRAB_INFO_*");
    return QueryStatus(code, 0);
}

int64_t CDriverBufferList::GetAcquiredCount() const {
    return Counter(FG_STATUS_GRABBED);
}

int64_t CDriverBufferList::GetLostCount() const {
    return Counter(FG_STATUS_LOST);
}

int64_t CDriverBufferList::GetLostLockedCount() const {
    return Counter(FG_STATUS_LOST_BLOCKED);
}

int64_t CDriverBufferList::GetLockedCount() const {
    return Counter(FG_STATUS_BLOCKED);
}

int64_t CDriverBufferList::GetPendingCount() const {
    return Counter(FG_STATUS_PENDING);
}

bool CDriverBufferList::BufferParameter(int id, void* value, int64_t bufferNumber) const {
    CLockGuard guard(lock_);
    return BufferParameterHeld(id, value, bufferNumber);
}

bool CDriverBufferList::BufferParameterHeld(int id, void* value, int64_t bufferNumber) const {
    return Fg_GetBufferParameter(channel_->DriverBoard().Grabber(), id, value, channel_->DmaIndex(),
                                 head_.get(), bufferNumber) == 0;
}

double CDriverBufferList::GetLastTimestamp() const {
    uint64_t stamp = 0;
    if (!BufferParameter(FG_BUFPARAM_TIMESTAMP64, &stamp,
                         static_cast<int64_t>(lastBufferNumber_.load())))
        FailSdk("Error getting timestamp");
    return static_cast<double>(stamp);
}

double CDriverBufferList::GetBufferTimestamp(int64_t bufferNumber) const {
    uint32_t stamp = 0;
    if (!BufferParameter(FG_BUFPARAM_TIMESTAMP32, &stamp, bufferNumber))
        FailSdk("Error getting timestamp");
    return static_cast<double>(stamp);
}

uint16_t CDriverBufferList::GetBufferTag(int64_t bufferNumber) const {
    CLockGuard guard(lock_);
    return BufferTagHeld(bufferNumber);
}

uint16_t CDriverBufferList::BufferTagHeld(int64_t bufferNumber) const {
    uint16_t tag = 0;
    if (!BufferParameterHeld(FG_BUFPARAM_TAG, &tag, bufferNumber))
        FailSdk("Error getting tag");
    return tag;
}

uint64_t CDriverBufferList::GetTransferLength(int64_t bufferNumber) const {
    CLockGuard guard(lock_);
    return TransferLengthHeld(bufferNumber);
}

uint64_t CDriverBufferList::TransferLengthHeld(int64_t bufferNumber) const {
    uint64_t length = 0;
    if (!BufferParameterHeld(FG_BUFPARAM_TRANSFER_LENGTH, &length, bufferNumber))
        FailSdk("Error getting DMA transfer length");
    return length;
}

bool CDriverBufferList::IsBufferLocked(int64_t bufferNumber) const {
    CLockGuard guard(lock_);
    Require(State::AcquisitionStarted,
            "Not in state \"AcquesitionStarted\" for seting buffer status");
    return QueryStatus(FG_STATUS_BUFFER_LOCKED, bufferNumber) == 1;
}

void CDriverBufferList::Unlock(int64_t bufferNumber) {
    CLockGuard guard(lock_);
    if (!IsAcquiring())
        return;
    if (channel_->LockMode() != 2)
        throw std::runtime_error(
            "Unlocking buffer only allowed in if RINGBUFFER_LOCKMODE_ON is set");
    if (QueryStatus(FG_STATUS_BUFFER_LOCKED, bufferNumber) == 0)
        return;
    if (Fg_SetBufferStatus(channel_->DriverBoard().Grabber(), FG_BUFFER_UNBLOCK, bufferNumber,
                           channel_->DmaIndex(), head_.get()) != 0)
        FailSdk("Unable to unlock buffer");
}

int32_t CDriverBufferList::GetTypedParameter(const TypedParameterRecord& descriptor, void* buffer,
                                             uint64_t& size) const {
    if (buffer == nullptr) {
        size = descriptor.length;
        return ORV::OK;
    }
    if (size != descriptor.length)
        return ORV::E_INVALIDARG;
    // The SDK writes the full width of the type whatever the caller's length.
    const uint64_t width = SdkTypeWidth(descriptor.type);
    if (width != 0 && size < width)
        return ORV::E_INVALIDARG;
    if (Fg_GetParameterTyped(channel_->DriverBoard().Grabber(), descriptor.id, buffer,
                             channel_->DmaIndex(), descriptor.type) != 0)
        return ORV::E_FAIL;
    return ORV::OK;
}

// Buffer list: waiting for the next image of the ring.
#include "acquisition/DriverBufferList.h"

#include "board/DriverBoard.h"
#include "board/DriverChannel.h"

#include <ddk/CLockGuard.h>

#include <stdexcept>
#include <string>

int32_t CDriverBufferList::WaitForImage(int32_t& bufferIndex) {
    Fg_Grabber* grabber = channel_->DriverBoard().Grabber();
    const unsigned dma = channel_->DmaIndex();
    Fg_Memory* head = nullptr;
    int64_t picture = 0;
    {
        CLockGuard guard(lock_);
        Require(State::AcquisitionStarted,
                "Not in state \"AcquesitionStarted\" for acquiring image");
        // Lock mode 0 hands the previous image's buffer back on the next wait.
        if (channel_->LockMode() == 0 && pendingUnlock_ != 0) {
            if (Fg_SetBufferStatus(grabber, FG_BUFFER_UNBLOCK, pendingUnlock_, dma, head_.get()) !=
                0)
                FailSdk("Error buffer unlocking for last image: " + std::to_string(pendingUnlock_));
            pendingUnlock_ = 0;
        }
        head = head_.get();
        picture = static_cast<int64_t>(nextPictureNumber_.load());
    }
    // Without the lock: a stop from another thread ends this wait.
    const int64_t result = Fg_WaitImage(grabber, FG_WAIT_PICTURE_NUMBER, picture, dma,
                                        static_cast<int>(channel_->TimeoutSeconds()), head);
    CLockGuard guard(lock_);
    return result < 0 ? FailedWait(result) : DeliverImage(bufferIndex);
}

int32_t CDriverBufferList::FailedWait(int64_t result) {
    if (!IsAcquiring())
        return WaitStopped;
    if (GetLockedCount() == static_cast<int64_t>(numberOfBuffers_) && channel_->LockMode() != 1)
        return WaitOutOfBuffers;
    if (result == FG_ERR_TIMEOUT)
        return WaitTimedOut;
    return WaitFailed;
}

int32_t CDriverBufferList::DeliverImage(int32_t& bufferIndex) {
    // A stop that ran after the image arrived has freed the head; the image is
    // no longer part of a running acquisition.
    if (!IsAcquiring())
        return WaitStopped;
    const uint64_t count = numberOfBuffers_;
    const uint64_t buffer = nextBufferNumber_.load(std::memory_order_relaxed);
    const uint64_t picture = nextPictureNumber_.load(std::memory_order_relaxed);
    const int64_t number = static_cast<int64_t>(buffer);

    // The lock is held already: the per-buffer answers must not take it again.
    // Every writer holds the lock, so the counters are published with plain
    // release stores rather than read-modify-writes; readers need no lock.
    const uint64_t length = TransferLengthHeld(number);
    Publish(lastTransferLength_, length);
    Publish(lastTag_, BufferTagHeld(number));
    if (channel_->MinimumBytes() > length)
        Publish(incompleteImages_, incompleteImages_.load(std::memory_order_relaxed) + 1);
    Publish(imagesAcquired_, imagesAcquired_.load(std::memory_order_relaxed) + 1);

    const bool locked = QueryStatusHeld(FG_STATUS_BUFFER_LOCKED, number) == 1;
    const bool expectLocked = channel_->LockMode() != 1;
    if (locked != expectLocked)
        throw std::runtime_error("Error buffer lockstate not right: " + std::to_string(buffer));

    const uint64_t lastBuffer = (picture - 1) % count + 1;
    bufferIndex = static_cast<int32_t>(buffer - 1);
    currentImage_.store(bufferAddresses_[buffer - 1], std::memory_order_release);
    Publish(lastPictureNumber_, picture);
    Publish(nextPictureNumber_, picture + 1);
    Publish(lastBufferNumber_, lastBuffer);
    Publish(nextBufferNumber_, picture % count + 1);
    pendingUnlock_ = static_cast<int64_t>(lastBuffer);
    return WaitDelivered;
}

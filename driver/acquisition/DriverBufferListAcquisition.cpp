// Buffer list: starting and stopping the DMA and the camera behind it.
#include "acquisition/DriverBufferList.h"

#include "board/DriverBoard.h"
#include "board/DriverChannel.h"
#include "sdk/GenICamEntryTable.h"
#include "sdk/SdkErrorText.h"
#include "sdk/SdkFailure.h"

#include <ddk/CLockGuard.h>

#include <gbelib.h>

#include <stdexcept>
#include <string>

namespace {

/// A library's text, empty for none.
std::string Text(const char* text) {
    return text != nullptr ? std::string(text) : std::string();
}

/// Undoes a partly done start: stops the DMA when it was started, removes the
/// buffers that were added and frees the head, in that order.
class StartRollback {
public:
    StartRollback(Fg_Grabber* grabber, unsigned dma, SdkMemoryHead& head)
        : grabber_(grabber), dma_(dma), head_(head) {}
    StartRollback(const StartRollback&) = delete;
    StartRollback& operator=(const StartRollback&) = delete;
    ~StartRollback() {
        if (done_)
            return;
        if (dmaStarted_)
            Fg_StopAcquire(grabber_, dma_, head_.get(), FG_STOP_SYNC);
        for (int64_t i = 0; i < buffersAdded_; ++i)
            Fg_RemoveBuffer(grabber_, head_.get(), i);
        head_.Free();
    }

    void BufferAdded() { ++buffersAdded_; }
    void DmaStarted() { dmaStarted_ = true; }
    void Dismiss() { done_ = true; }

private:
    Fg_Grabber* grabber_;
    unsigned dma_;
    SdkMemoryHead& head_;
    int64_t buffersAdded_ = 0;
    bool dmaStarted_ = false;
    bool done_ = false;
};

/// Starts or stops (`verb`) the acquisition of the channel's camera, when the
/// board's technology has one: `gige` for a GigE camera, the GenICam library's
/// `genicam` entry for a CoaXPress camera. Throws when the camera refuses, with
/// the camera library's description of the refusal.
template <class GenICamEntry>
void SwitchCamera(const CDriverChannel& channel, int (*gige)(Gbe_Camera*),
                  GenICamEntry GenICamEntryTable::*genicam, const char* verb) {
    const int32_t technology = channel.DriverBoard().Technology();
    if (technology == TechnologyGigE && channel.GigECamera() != nullptr) {
        const int result = gige(channel.GigECamera());
        if (result != 0)
            throw CSdkFailure(std::string("There is a GigE camera connected to the board, "
                                          "however it was not possible to ") +
                                  verb + " acquisition",
                              Text(Gbe_ErrorText(result)));
    } else if (technology == TechnologyCoaXPress && channel.CoaXPressCamera() != nullptr) {
        const GenICamEntryTable& table = GenICam();
        const auto entry = table.*genicam;
        const int result = entry != nullptr ? entry(channel.CoaXPressCamera(), 1) : -1;
        if (result != 0)
            throw CSdkFailure(std::string("There is a SiSo GenICam camera connected to the "
                                          "board, however it was not possible to ") +
                                  verb + " acquisition",
                              entry != nullptr ? Text(table.ErrorText(result)) : std::string());
    }
}

} // namespace

int CDriverBufferList::AcquisitionMode(uint32_t lockMode) {
    return lockMode == 1 ? FG_ACQ_STANDARD : FG_ACQ_BLOCKING;
}

void CDriverBufferList::StartAcquisition() {
    CLockGuard guard(lock_);
    Require(State::Allocated, "Not in state \"Allocated\" for starting acquisition");
    if (!channel_->ConnectCameraAgain())
        throw std::runtime_error("The camera of this channel is not connected and could not be "
                                 "connected again");
    Fg_Grabber* grabber = channel_->DriverBoard().Grabber();
    const unsigned dma = channel_->DmaIndex();
    const uint32_t count = numberOfBuffers_;

    SdkMemoryHead head = SdkMemoryHead::Create(grabber, count * imageSize_, count);
    if (!head)
        FailSdk("Failed to create head for custom memory");
    StartRollback rollback(grabber, dma, head);
    for (uint32_t i = 0; i < count; ++i) {
        if (Fg_AddBuffer(grabber, bufferAddresses_[i], imageSize_, i, head.get()) != i)
            FailSdk("Failed to add custom memory to SiSo SDK");
        rollback.BufferAdded();
    }
    if (Fg_AcquireEx(grabber, dma, FG_FRAMES_ENDLESS, AcquisitionMode(channel_->LockMode()),
                     head.get()) != 0)
        FailSdk("Error in Fg_AcquireEx");
    rollback.DmaStarted();
    StartCamera();
    rollback.Dismiss();

    head_ = std::move(head);
    lastBufferNumber_.store(0);
    lastPictureNumber_.store(0);
    nextBufferNumber_.store(1);
    nextPictureNumber_.store(1);
    incompleteImages_.store(0);
    imagesAcquired_.store(0);
    pendingUnlock_ = 0;
    state_.store(State::AcquisitionStarted);
}

void CDriverBufferList::StopAcquisition() {
    // Held to the end: a waiter woken by the SDK stop must not query the head
    // that the following steps free.
    CLockGuard guard(lock_);
    Require(State::AcquisitionStarted,
            "Not in state \"AcquisitionStarted\" for stopping acquisition");
    std::string reason;
    const std::string failure = StopSteps(reason);
    pendingUnlock_ = 0;
    state_.store(State::Allocated);
    if (!failure.empty())
        throw CSdkFailure(failure, reason);
}

std::string CDriverBufferList::StopSteps(std::string& reason) noexcept {
    // Best effort: a step that fails does not keep the others from running, so
    // that one transient fault never leaves the list stuck in its acquisition.
    // The first failure is the one reported, with the SDK's reason for it.
    std::string failure;
    Fg_Grabber* grabber = channel_->DriverBoard().Grabber();
    const auto note = [&](const char* text, const std::string& why) {
        if (failure.empty()) {
            failure = text;
            reason = why;
        }
    };
    const auto noteSdk = [&](const char* text) {
        if (failure.empty())
            note(text, FgLastErrorText(grabber));
    };
    const unsigned dma = channel_->DmaIndex();
    bool dmaStopped = Fg_StopAcquire(grabber, dma, head_.get(), FG_STOP_SYNC) == 0;
    if (!dmaStopped) {
        noteSdk("Error failed to stop acquisition");
        dmaStopped = Fg_StopAcquire(grabber, dma, head_.get(), FG_STOP_SYNC) == 0;
    }
    try {
        StopCamera();
    } catch (const CSdkFailure& e) {
        note(e.what(), e.Reason());
    } catch (const std::exception& e) {
        note(e.what(), std::string());
    }
    for (uint32_t i = 0; i < numberOfBuffers_; ++i) {
        if (Fg_RemoveBuffer(grabber, head_.get(), i) != 0)
            noteSdk("Error freeing removing custom memory");
    }
    if (!dmaStopped) {
        // The DMA may still write into the block: give the head and the block up
        // rather than free or reuse memory it can reach.
        head_.release();
        memory_.Abandon();
        noteSdk("Error failed to stop acquisition");
        failure += "; the DMA could not be stopped, its memory is given up";
    } else if (head_.Free() != 0) {
        // The head is kept; the next start or the destructor frees it.
        noteSdk("Error freeing memory head");
    }
    return failure;
}

void CDriverBufferList::StartCamera() {
    SwitchCamera(*channel_, Gbe_StartAcquisition, &GenICamEntryTable::startAcquisition, "start");
}

void CDriverBufferList::StopCamera() {
    SwitchCamera(*channel_, Gbe_StopAcquisition, &GenICamEntryTable::stopAcquisition, "stop");
}

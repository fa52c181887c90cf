// Waiting for images: ring order, outcomes, the three lock modes, counters and
// the SDK's per-buffer answers.
#include "driver/acquisition/ImagePathRig.h"

#include "acquisition/DriverBufferList.h"

#include <ORV/ResultCodes.h>

#include <simctl/SimControl.h>

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

using imagepath::ImagePathRig;
using imagepath::RigOptions;
using imagepath::ThrownText;
using imagepath::Triggered;
using Outcome = CDriverBufferList::WaitOutcome;

namespace {

int32_t Wait(CDriverBufferList& list, int32_t& index) {
    return list.WaitForImage(index);
}

} // namespace

TEST(BufferListWait, ThreeBuffers_DeliverPicturesInRingOrder) {
    ImagePathRig rig;
    CDriverBufferList list(rig.Channel());
    list.StartAcquisition();

    int32_t expected[] = {0, 1, 2, 0};
    for (int32_t want : expected) {
        int32_t index = -1;
        ASSERT_EQ(Wait(list, index), Outcome::WaitDelivered);
        EXPECT_EQ(index, want);
        EXPECT_EQ(list.CurrentImage(), list.BufferAddress(static_cast<uint32_t>(want)));
    }
    EXPECT_EQ(list.LastPictureNumber(), 4u);
    EXPECT_EQ(list.NextPictureNumber(), 5u);
    EXPECT_EQ(list.LastBufferNumber(), 1u);
    EXPECT_EQ(list.NextBufferNumber(), 2u);
    EXPECT_EQ(list.ImagesAcquired(), 4u);
    EXPECT_EQ(BufferRecord(1).pictureNumber, 4);
    list.StopAcquisition();
}

TEST(BufferListWait, LockMode0_EachWaitUnlocksThePreviousImagesBuffer) {
    ImagePathRig rig(Triggered(3));
    CDriverBufferList list(rig.Channel());
    list.StartAcquisition();
    rig.Trigger(3);
    int32_t index = -1;

    ASSERT_EQ(Wait(list, index), Outcome::WaitDelivered);
    EXPECT_EQ(SimCtl_CallCount("Fg_SetBufferStatus"), 0); // nothing to unlock yet
    EXPECT_EQ(BufferRecord(1).locked, 1);
    ASSERT_EQ(Wait(list, index), Outcome::WaitDelivered);
    EXPECT_EQ(SimCtl_CallCount("Fg_SetBufferStatus"), 1);
    EXPECT_EQ(BufferRecord(1).locked, 0);
    ASSERT_EQ(Wait(list, index), Outcome::WaitDelivered);
    EXPECT_EQ(SimCtl_CallCount("Fg_SetBufferStatus"), 2);
    EXPECT_EQ(BufferRecord(2).locked, 0);
    EXPECT_EQ(BufferRecord(3).locked, 1);
    list.StopAcquisition();
}

TEST(BufferListWait, LockMode0_AfterATimeOutTheHeldBufferIsNotUnlockedTwice) {
    ImagePathRig rig(Triggered(2));
    CDriverBufferList list(rig.Channel());
    list.StartAcquisition();
    int32_t index = -1;
    rig.Trigger(1);
    ASSERT_EQ(Wait(list, index), Outcome::WaitDelivered); // picture 1 in buffer 1
    ASSERT_EQ(Wait(list, index), Outcome::WaitTimedOut);  // unlocks buffer 1, nothing comes
    rig.Trigger(2);                                       // pictures 2 and 3 (buffer 1 again)
    EXPECT_EQ(SimCtl_CallCount("Fg_SetBufferStatus"), 1);

    ASSERT_EQ(Wait(list, index), Outcome::WaitDelivered);
    EXPECT_EQ(index, 1);
    EXPECT_EQ(SimCtl_CallCount("Fg_SetBufferStatus"), 1);
    EXPECT_EQ(BufferRecord(1).locked, 1) << "picture 3 must stay locked until the host has seen it";
    rig.Trigger(1); // picture 4 belongs in buffer 2, which the host still holds: lost
    ASSERT_EQ(Wait(list, index), Outcome::WaitDelivered);
    EXPECT_EQ(index, 0);
    EXPECT_EQ(list.LastPictureNumber(), 3u);
    EXPECT_EQ(BufferRecord(1).pictureNumber, 3);
    EXPECT_EQ(DmaCounters().lostBlocked, 1);
    list.StopAcquisition();
}

TEST(BufferListWait, LockMode1_NeverBlocksTheDma) {
    ImagePathRig rig;
    rig.Channel().SetLockMode(1);
    CDriverBufferList list(rig.Channel());
    list.StartAcquisition();

    // Nobody waits or unlocks, yet the ring is overwritten again and again.
    EXPECT_TRUE(imagepath::WaitUntil([&] { return rig.Produced() > 10; }));
    EXPECT_EQ(list.GetLockedCount(), 0);
    int32_t index = -1;
    ASSERT_EQ(Wait(list, index), Outcome::WaitDelivered);
    EXPECT_EQ(index, 0);
    EXPECT_FALSE(list.IsBufferLocked(1));
    EXPECT_EQ(DmaCounters().lost, 0);
    list.StopAcquisition();
}

TEST(BufferListWait, LockMode1_ALockedDeliveryIsReported) {
    ImagePathRig rig;
    CDriverBufferList list(rig.Channel());
    list.StartAcquisition(); // blocking: delivered buffers are locked
    rig.Channel().SetLockMode(1);
    int32_t index = -1;

    EXPECT_EQ(ThrownText([&] { Wait(list, index); }), "Error buffer lockstate not right: 1");
    EXPECT_EQ(index, -1);
    list.StopAcquisition();
}

TEST(BufferListWait, LockMode2_EveryBufferHeld_IsOutOfBuffersAndFramesAreLost) {
    ImagePathRig rig(Triggered(2));
    rig.Channel().SetLockMode(2);
    CDriverBufferList list(rig.Channel());
    list.StartAcquisition();
    int32_t index = -1;
    rig.Trigger(2);
    ASSERT_EQ(Wait(list, index), Outcome::WaitDelivered);
    ASSERT_EQ(Wait(list, index), Outcome::WaitDelivered);
    rig.Trigger(1); // nowhere to go

    index = 9;
    EXPECT_EQ(Wait(list, index), Outcome::WaitOutOfBuffers);
    EXPECT_EQ(index, 9);
    EXPECT_EQ(list.GetLockedCount(), 2);
    EXPECT_EQ(list.GetLostCount(), 1);
    EXPECT_EQ(list.GetLostLockedCount(), 1);
    EXPECT_EQ(SimCtl_CallCount("Fg_SetBufferStatus"), 0); // lock mode 2 never unlocks itself

    list.Unlock(1);
    EXPECT_EQ(SimCtl_CallCount("Fg_SetBufferStatus"), 1);
    EXPECT_FALSE(list.IsBufferLocked(1));
    rig.Trigger(1);
    ASSERT_EQ(Wait(list, index), Outcome::WaitDelivered);
    EXPECT_EQ(index, 0);
    EXPECT_TRUE(list.IsBufferLocked(1));
    list.StopAcquisition();
}

TEST(BufferListWait, TimeOut_IsAnOutcomeAndTheNextWaitAsksForTheSamePicture) {
    ImagePathRig rig(Triggered(3));
    CDriverBufferList list(rig.Channel());
    list.StartAcquisition();
    int32_t index = 5;

    EXPECT_EQ(Wait(list, index), Outcome::WaitTimedOut);
    EXPECT_EQ(index, 5);
    EXPECT_TRUE(list.IsAcquiring());
    rig.Trigger(1);
    EXPECT_EQ(Wait(list, index), Outcome::WaitDelivered);
    EXPECT_EQ(index, 0);
    EXPECT_EQ(list.LastPictureNumber(), 1u);
    list.StopAcquisition();
}

TEST(BufferListWait, OtherSdkError_IsOutcomeZero) {
    ImagePathRig rig(Triggered(3));
    CDriverBufferList list(rig.Channel());
    list.StartAcquisition();
    SimCtl_FailCall("Fg_WaitImage", FG_ERR_INVALID_ARGUMENT, 1);
    int32_t index = -1;

    EXPECT_EQ(Wait(list, index), Outcome::WaitFailed);
    rig.Trigger(1);
    EXPECT_EQ(Wait(list, index), Outcome::WaitDelivered);
    EXPECT_EQ(index, 0);
    list.StopAcquisition();
}

TEST(BufferListWait, AfterStop_WaitingIsRefused) {
    ImagePathRig rig;
    CDriverBufferList list(rig.Channel());
    list.StartAcquisition();
    list.StopAcquisition();
    int32_t index = -1;
    EXPECT_EQ(ThrownText([&] { Wait(list, index); }),
              "Not in state \"AcquesitionStarted\" for acquiring image");
}

TEST(BufferListWait, Unlock_RefusedOutsideLockMode2AndSkippedForAFreeBuffer) {
    ImagePathRig rig(Triggered(3));
    CDriverBufferList list(rig.Channel());
    list.StartAcquisition();
    const std::string refused = "Unlocking buffer only allowed in if RINGBUFFER_LOCKMODE_ON is set";
    EXPECT_EQ(ThrownText([&] { list.Unlock(1); }), refused);
    rig.Channel().SetLockMode(1);
    EXPECT_EQ(ThrownText([&] { list.Unlock(1); }), refused);

    rig.Channel().SetLockMode(2);
    EXPECT_EQ(ThrownText([&] { list.Unlock(1); }), ""); // not locked: nothing to do
    EXPECT_EQ(SimCtl_CallCount("Fg_SetBufferStatus"), 0);
    list.StopAcquisition();
}

TEST(BufferListWait, Counters_AreTheSdksStatusAnswers) {
    ImagePathRig rig(Triggered(3));
    rig.Channel().SetLockMode(2);
    CDriverBufferList list(rig.Channel());
    list.StartAcquisition();
    rig.Trigger(3);
    int32_t index = -1;
    ASSERT_EQ(Wait(list, index), Outcome::WaitDelivered);

    EXPECT_EQ(list.GetAcquiredCount(), 3);
    EXPECT_EQ(list.GetLockedCount(), 3);
    EXPECT_EQ(list.GetPendingCount(), 2);
    EXPECT_EQ(list.GetLostCount(), 0);
    EXPECT_EQ(list.GetLostLockedCount(), 0);
    list.StopAcquisition();
}

TEST(BufferListWait, PerBufferAnswers_AreWhatTheDmaRecorded) {
    ImagePathRig rig(Triggered(3));
    CDriverBufferList list(rig.Channel());
    list.StartAcquisition();
    rig.Trigger(2);
    EXPECT_EQ(ThrownText([&] { list.GetLastTimestamp(); }), "Error getting timestamp")
        << "right after a start the last buffer number is 0";
    int32_t index = -1;
    ASSERT_EQ(Wait(list, index), Outcome::WaitDelivered);
    ASSERT_EQ(Wait(list, index), Outcome::WaitDelivered);

    for (int64_t b = 1; b <= 2; ++b) {
        const SimCtlBufferRecord record = BufferRecord(b);
        EXPECT_EQ(list.GetBufferTimestamp(b), static_cast<double>(record.timestamp32));
        EXPECT_EQ(list.GetBufferTag(b), record.tag);
        EXPECT_EQ(list.GetTransferLength(b), record.transferLength);
    }
    const SimCtlBufferRecord last = BufferRecord(2);
    EXPECT_EQ(list.GetLastTimestamp(), static_cast<double>(last.timestamp64));
    EXPECT_EQ(list.LastTag(), last.tag);
    EXPECT_EQ(list.LastTransferLength(), last.transferLength);
    EXPECT_EQ(list.LastTransferLength(), list.ImageSize());
    EXPECT_EQ(list.IncompleteImages(), 0u);
    EXPECT_EQ(ThrownText([&] { list.GetBufferTag(4); }), "Error getting tag");
    list.StopAcquisition();
}

TEST(BufferListWait, ShortTransfers_AreDeliveredAndCountedIncomplete) {
    RigOptions options;
    options.dma.extra = "shorttransfer = 100\n";
    ImagePathRig rig(options);
    CDriverBufferList list(rig.Channel());
    list.StartAcquisition();
    int32_t index = -1;
    ASSERT_EQ(Wait(list, index), Outcome::WaitDelivered);
    ASSERT_EQ(Wait(list, index), Outcome::WaitDelivered);

    EXPECT_EQ(list.LastTransferLength(), 100u);
    EXPECT_EQ(list.IncompleteImages(), 2u);
    EXPECT_EQ(list.ImagesAcquired(), 2u);
    list.StopAcquisition();
}

TEST(BufferListTypedParameter, SizeQueryCheckAndRead) {
    ImagePathRig rig;
    const CDriverBufferList list(rig.Channel());
    TypedParameterRecord width;
    width.id = FG_PARAM_WIDTH;
    width.type = FG_TYPE_UINT32;
    width.length = 4;

    uint64_t size = 0;
    EXPECT_EQ(list.GetTypedParameter(width, nullptr, size), ORV::OK);
    EXPECT_EQ(size, 4u);
    uint32_t value = 0;
    size = 8;
    EXPECT_EQ(list.GetTypedParameter(width, &value, size), ORV::E_INVALIDARG);
    size = 4;
    EXPECT_EQ(list.GetTypedParameter(width, &value, size), ORV::OK);
    EXPECT_EQ(value, 64u);

    TypedParameterRecord unknown = width;
    unknown.id = 123456;
    EXPECT_EQ(list.GetTypedParameter(unknown, &value, size), ORV::E_FAIL);
}

TEST(BufferListTypedParameter, LengthShorterThanTheType_IsRefusedBeforeTheSdkWrites) {
    ImagePathRig rig;
    const CDriverBufferList list(rig.Channel());
    TypedParameterRecord wide;
    wide.id = FG_PARAM_WIDTH;
    wide.type = FG_TYPE_UINT64;
    wide.length = 2;
    uint16_t value = 0;
    uint64_t size = 2;

    EXPECT_EQ(list.GetTypedParameter(wide, &value, size), ORV::E_INVALIDARG);
    EXPECT_EQ(SimCtl_CallCount("Fg_GetParameterTyped"), 0);
}

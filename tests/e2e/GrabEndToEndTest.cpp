// Grabbing through the host-application API: GrabStart / GrabWait / GrabStop,
// Snap, time-outs, lock modes, GRAB_INFO_*, per-buffer information and the
// buffer count, on the simulated machine.
#include "e2e/AcquisitionModule.h"

#include <ORV/ResultCodes.h>

#include <fglib5.h>
#include <simctl/SimControl.h>

#include <gtest/gtest.h>

using e2e::AcquisitionModule;
using e2e::MachineSetup;

namespace {

MachineSetup Triggered(uint32_t buffers = 3) {
    MachineSetup setup;
    setup.trigger = "software";
    setup.buffers = buffers;
    return setup;
}

/// Paced frames: a blocked DMA loses frames instead of waiting.
MachineSetup Paced(uint32_t buffers) {
    MachineSetup setup;
    setup.frameRate = 200.0;
    setup.buffers = buffers;
    return setup;
}

void SetLockMode(ORV::IRingBuffer* ring, uint32_t mode) {
    ASSERT_EQ(ring->LockMode(1, &mode), ORV::OK);
}

} // namespace

using GrabEndToEnd = AcquisitionModule;

TEST_F(GrabEndToEnd, StartWaitStop_DeliverBuffersInRingOrder) {
    Open();
    ORV::IGrab2* grab = Grab2();
    ASSERT_EQ(grab->GrabStart(), ORV::OK);
    for (int32_t want : {0, 1, 2, 0}) {
        int32_t index = -1;
        ASSERT_EQ(grab->GrabWait(&index), ORV::OK);
        EXPECT_EQ(index, want);
    }
    EXPECT_EQ(grab->GrabStop(0), ORV::OK);
    EXPECT_EQ(DmaCounters().acquiring, 0);

    // The framework's record of delivered buffers: newest first.
    int32_t index = -1;
    EXPECT_EQ(Ring()->BufferSequence(0, &index), 1);
    EXPECT_EQ(index, 0);
    EXPECT_EQ(Ring()->BufferSequence(1, &index), 1);
    EXPECT_EQ(index, 2);
}

TEST_F(GrabEndToEnd, WaitAfterStop_Fails) {
    Open();
    ORV::IGrab2* grab = Grab2();
    ASSERT_EQ(grab->GrabStart(), ORV::OK);
    ASSERT_EQ(grab->GrabStop(1), ORV::OK);
    int32_t index = 5;
    EXPECT_EQ(grab->GrabWait(&index), ORV::E_FAIL);
    EXPECT_EQ(index, 5);
}

TEST_F(GrabEndToEnd, Snap_TakesOneImage) {
    Open();
    EXPECT_EQ(Grabber()->Snap(), ORV::OK);
    EXPECT_EQ(DmaCounters().acquiring, 0);
    EXPECT_GE(DmaCounters().delivered, 1);
    EXPECT_EQ(Grabber()->Snap(), ORV::OK); // and again
}

TEST_F(GrabEndToEnd, Snap_WithoutAnImageStillAnswersZero) {
    Open(Triggered());
    EXPECT_EQ(Grabber()->Snap(), ORV::OK);
    EXPECT_EQ(DmaCounters().delivered, 0);
    EXPECT_EQ(DmaCounters().acquiring, 0);
}

TEST_F(GrabEndToEnd, Snap_WhileGrabbingIsBusy) {
    Open();
    ASSERT_EQ(Grab2()->GrabStart(), ORV::OK);
    EXPECT_EQ(Grabber()->Snap(), ORV::E_BUSY);
    EXPECT_EQ(Grab2()->GrabStop(0), ORV::OK);
}

TEST_F(GrabEndToEnd, TimeOut_Is0x80000004AndTheGrabGoesOn) {
    Open(Triggered());
    ASSERT_EQ(Grab2()->GrabStart(), ORV::OK);
    int32_t index = -1;
    EXPECT_EQ(Grab2()->GrabWait(&index), ORV::E_TIMEOUT);
    double active = 0;
    EXPECT_EQ(Grab2()->GrabInfo(5, &active), ORV::OK);
    EXPECT_EQ(active, 1.0);
    EXPECT_EQ(Grab2()->GrabStop(0), ORV::OK);
}

TEST_F(GrabEndToEnd, LockMode2_AllBuffersHeldRunsOutAndUnlockFreesOne) {
    Open(Paced(2));
    SetLockMode(Ring(), 2);
    ORV::IGrab2* grab = Grab2();
    ASSERT_EQ(grab->GrabStart(), ORV::OK);
    int32_t index = -1;
    ASSERT_EQ(grab->GrabWait(&index), ORV::OK);
    ASSERT_EQ(grab->GrabWait(&index), ORV::OK);
    ASSERT_TRUE(e2e::WaitUntil([] { return DmaCounters().lostBlocked >= 1; }));

    EXPECT_EQ(grab->GrabWait(&index), ORV::E_FAIL); // out of buffers, not a time-out
    double value = 0;
    EXPECT_EQ(grab->GrabInfo(3, &value), ORV::OK);
    EXPECT_EQ(value, 2.0);
    EXPECT_EQ(grab->GrabInfo(1, &value), ORV::OK);
    EXPECT_GE(value, 1.0);
    EXPECT_EQ(grab->GrabInfo(2, &value), ORV::OK);
    EXPECT_GE(value, 1.0);

    uint8_t locked = 0;
    EXPECT_EQ(Ring()->IsLocked(0, &locked), ORV::OK);
    EXPECT_EQ(locked, 1);
    EXPECT_EQ(Ring()->UnlockBuffer(0), ORV::OK);
    EXPECT_EQ(Ring()->IsLocked(0, &locked), ORV::OK);
    EXPECT_EQ(locked, 0);
    EXPECT_EQ(grab->GrabWait(&index), ORV::OK);
    EXPECT_EQ(index, 0);
    EXPECT_EQ(grab->GrabStop(0), ORV::OK);
}

TEST_F(GrabEndToEnd, LockMode0_EachWaitUnlocksThePreviousBuffer) {
    Open();
    ORV::IGrab2* grab = Grab2();
    ASSERT_EQ(grab->GrabStart(), ORV::OK);
    int32_t index = -1;
    for (int64_t wait = 0; wait < 5; ++wait) {
        ASSERT_EQ(grab->GrabWait(&index), ORV::OK);
        EXPECT_EQ(SimCtl_CallCount("Fg_SetBufferStatus"), wait) << "after wait " << wait + 1;
    }
    EXPECT_EQ(Ring()->UnlockBuffer(0), ORV::E_FAIL); // the host unlocks only in mode 2
    EXPECT_EQ(grab->GrabStop(0), ORV::OK);
}

TEST_F(GrabEndToEnd, LockMode1_NeverBlocks) {
    Open();
    SetLockMode(Ring(), 1);
    ORV::IGrab2* grab = Grab2();
    ASSERT_EQ(grab->GrabStart(), ORV::OK);
    EXPECT_TRUE(e2e::WaitUntil([] { return e2e::Produced() > 10; }))
        << "nobody waits, yet the DMA keeps overwriting the ring";
    double locked = -1;
    EXPECT_EQ(grab->GrabInfo(3, &locked), ORV::OK);
    EXPECT_EQ(locked, 0.0);
    int32_t index = -1;
    EXPECT_EQ(grab->GrabWait(&index), ORV::OK);
    EXPECT_EQ(DmaCounters().lost, 0);
    EXPECT_EQ(SimCtl_CallCount("Fg_SetBufferStatus"), 0);
    EXPECT_EQ(grab->GrabStop(0), ORV::OK);
}

TEST_F(GrabEndToEnd, GrabInfo_EveryCommand) {
    Open(Paced(3));
    SetLockMode(Ring(), 2);
    ORV::IGrab2* grab = Grab2();
    double value = 42.0;
    EXPECT_EQ(grab->GrabInfo(5, &value), ORV::OK);
    EXPECT_EQ(value, 0.0);
    EXPECT_EQ(grab->GrabInfo(0, &value), ORV::E_FAIL);

    ASSERT_EQ(grab->GrabStart(), ORV::OK);
    int32_t index = -1;
    ASSERT_EQ(grab->GrabWait(&index), ORV::OK);
    ASSERT_EQ(grab->GrabWait(&index), ORV::OK);
    // Every buffer held: the DMA stands still and the counters with it.
    ASSERT_TRUE(e2e::WaitUntil([] { return DmaCounters().lostBlocked >= 1; }));
    const SimCtlDmaCounters counters = DmaCounters();
    const double expected[] = {3.0,
                               static_cast<double>(counters.lost),
                               static_cast<double>(counters.lostBlocked),
                               3.0,
                               1.0,
                               1.0,
                               static_cast<double>(BufferRecord(2).timestamp64)};
    for (int32_t command = 0; command <= 6; ++command) {
        if (command == 1 || command == 2)
            continue; // still counting while the DMA loses frames
        value = -1;
        EXPECT_EQ(grab->GrabInfo(command, &value), ORV::OK) << command;
        EXPECT_EQ(value, expected[command]) << command;
    }
    EXPECT_EQ(grab->GrabInfo(1, &value), ORV::OK);
    EXPECT_GE(value, expected[1]);
    EXPECT_EQ(grab->GrabInfo(2, &value), ORV::OK);
    EXPECT_GE(value, expected[2]);

    value = 42.0;
    EXPECT_EQ(grab->GrabInfo(7, &value), ORV::E_NOTSUPPORTED);
    EXPECT_EQ(grab->GrabInfo(-1, &value), ORV::E_NOTSUPPORTED);
    EXPECT_EQ(value, 42.0);
    EXPECT_EQ(grab->GrabStop(0), ORV::OK);
}

TEST_F(GrabEndToEnd, BufferInfo_TimeStampsAndTagsAreWhatTheDmaRecorded) {
    Open(Paced(3));
    SetLockMode(Ring(), 2);
    ASSERT_EQ(Grab2()->GrabStart(), ORV::OK);
    int32_t index = -1;
    ASSERT_EQ(Grab2()->GrabWait(&index), ORV::OK);
    ASSERT_EQ(Grab2()->GrabWait(&index), ORV::OK);

    for (int32_t i = 0; i < 2; ++i) {
        const SimCtlBufferRecord record = BufferRecord(i + 1);
        double value = -1;
        EXPECT_EQ(Ring()->BufferInfo(i, 0, &value), ORV::OK);
        EXPECT_EQ(value, static_cast<double>(record.timestamp32));
        EXPECT_EQ(Ring()->BufferInfo(i, 1, &value), ORV::OK);
        EXPECT_EQ(value, static_cast<double>(record.tag));
        EXPECT_EQ(Ring()->BufferInfo(i, 2, &value), ORV::OK);
        EXPECT_EQ(value, 1.0);
    }
    double value = -1;
    EXPECT_EQ(Ring()->BufferInfo(3, 0, &value), ORV::E_INVALIDARG);
    EXPECT_EQ(Ring()->BufferInfo(0, 3, &value), ORV::E_INVALIDARG);
    EXPECT_EQ(Grab2()->GrabStop(0), ORV::OK);
}

TEST_F(GrabEndToEnd, NumBuffers_SetGivesANewImageWithTheNewCount) {
    Open();
    int32_t count = 0;
    orvhost::HostObject replaced;
    ASSERT_EQ(Ring()->NumBuffers(0, &count, nullptr), ORV::OK);
    EXPECT_EQ(count, 3);
    count = 0;
    EXPECT_EQ(Ring()->NumBuffers(1, &count, replaced.out()), ORV::E_INVALIDARG);
    count = 5;
    ASSERT_EQ(Ring()->NumBuffers(1, &count, replaced.out()), ORV::OK);
    ASSERT_TRUE(replaced);
    ReleaseImage();

    auto* ring = Find<ORV::IRingBuffer>(replaced.get());
    auto* grab = Find<ORV::IGrab2>(replaced.get());
    ASSERT_NE(ring, nullptr);
    ASSERT_NE(grab, nullptr);
    count = 0;
    EXPECT_EQ(ring->NumBuffers(0, &count, nullptr), ORV::OK);
    EXPECT_EQ(count, 5);
    ASSERT_EQ(grab->GrabStart(), ORV::OK);
    for (int32_t want : {0, 1, 2, 3, 4, 0}) {
        int32_t index = -1;
        ASSERT_EQ(grab->GrabWait(&index), ORV::OK);
        EXPECT_EQ(index, want);
    }
    EXPECT_EQ(grab->GrabStop(0), ORV::OK);
}

TEST_F(GrabEndToEnd, ReleasingAnImageWhileGrabbing_StopsTheDma) {
    Open();
    ASSERT_EQ(Grab2()->GrabStart(), ORV::OK);
    int32_t index = -1;
    ASSERT_EQ(Grab2()->GrabWait(&index), ORV::OK);
    ReleaseImage(); // the last image: the board closes after it
    // The driver stopped the DMA and released its memory before the board went.
    EXPECT_EQ(SimCtl_CallCount("Fg_StopAcquire"), 1);
    EXPECT_EQ(SimCtl_CallCount("Fg_RemoveBuffer"), 3);
    EXPECT_EQ(SimCtl_CallCount("Fg_FreeMemoryHead"), 1);
}

TEST_F(GrabEndToEnd, FailedStart_RegistersNothingAndALaterStartWorks) {
    Open();
    SimCtl_FailCall("Fg_AcquireEx", FG_ERR_INVALID_MEMORY, 1);
    EXPECT_EQ(Grab2()->GrabStart(), ORV::E_FAIL);
    EXPECT_EQ(DmaCounters().acquiring, 0);
    EXPECT_EQ(SimCtl_CallCount("Fg_AddBuffer"), 3);
    EXPECT_EQ(SimCtl_CallCount("Fg_RemoveBuffer"), 3);
    EXPECT_EQ(SimCtl_CallCount("Fg_FreeMemoryHead"), 1);
    double active = 1;
    EXPECT_EQ(Grab2()->GrabInfo(5, &active), ORV::OK);
    EXPECT_EQ(active, 0.0);

    ASSERT_EQ(Grab2()->GrabStart(), ORV::OK);
    int32_t index = -1;
    EXPECT_EQ(Grab2()->GrabWait(&index), ORV::OK);
    EXPECT_EQ(index, 0);
    EXPECT_EQ(Grab2()->GrabStop(0), ORV::OK);
}

// The buffer list's memory, VPA table and state machine: every operation in
// every state.
#include "driver/acquisition/ImagePathRig.h"

#include "acquisition/DriverBufferList.h"

#include <simctl/SimControl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <stdexcept>
#include <string>

using imagepath::ImagePathRig;
using imagepath::RigOptions;
using imagepath::ThrownText;
using State = CDriverBufferList::State;

namespace {

bool Acquiring() {
    SimCtlDmaCounters counters{};
    return SimCtl_GetDmaCounters(0, 0, &counters) == SIMCTL_OK && counters.acquiring == 1;
}

} // namespace

TEST(BufferListState, Construction_AllocatesOneZeroFilledBlockForAllBuffers) {
    ImagePathRig rig;
    CDriverBufferList list(rig.Channel());

    EXPECT_EQ(list.GetState(), State::Allocated);
    ASSERT_EQ(list.NumberOfBuffers(), 3u);
    EXPECT_EQ(list.ImageSize(), 64u * 48u);
    for (uint32_t i = 0; i < 3; ++i)
        EXPECT_EQ(list.BufferAddress(i), list.BufferAddress(0) + i * list.ImageSize());
    EXPECT_EQ(list.BufferAddress(3), nullptr);
    const uint8_t* block = list.BufferAddress(0);
    EXPECT_TRUE(std::all_of(block, block + 3 * list.ImageSize(), [](uint8_t b) { return b == 0; }));
    EXPECT_EQ(list.CurrentImage(), list.BufferAddress(0));
    EXPECT_FALSE(list.IsAcquiring());
}

TEST(BufferListState, Construction_CopiesTheChannelsBufferCountOnce) {
    ImagePathRig rig;
    CDriverBufferList before(rig.Channel());
    rig.Channel().SetNumberOfBuffers(5);
    CDriverBufferList after(rig.Channel());

    EXPECT_EQ(before.NumberOfBuffers(), 3u);
    EXPECT_EQ(after.NumberOfBuffers(), 5u);
    EXPECT_EQ(after.BufferAddress(4), after.BufferAddress(0) + 4 * after.ImageSize());
}

TEST(BufferListState, VpaTable_RotatedQuarterTurnMatchesTheLayout) {
    RigOptions options;
    options.dma.width = 640;
    options.dma.height = 480;
    options.rotation = 1;
    ImagePathRig rig(options);
    CDriverBufferList list(rig.Channel());

    EXPECT_EQ(list.HostWidth(), 480u);
    EXPECT_EQ(list.HostHeight(), 640u);
    const ORV::VpaEntry* table = list.VpaTable();
    EXPECT_EQ(table[0].x, 306560);
    EXPECT_EQ(table[1].x - table[0].x, -640);
    EXPECT_EQ(table[0].y, 0);
    EXPECT_EQ(table[1].y, 1);
    EXPECT_EQ(table[479].x, 306560 - 479 * 640);
    EXPECT_EQ(table[639].y, 639);
    // Four guard entries on each side repeat the first and the last real entries.
    for (int g = 1; g <= 4; ++g) {
        EXPECT_EQ(table[-g].x, table[0].x);
        EXPECT_EQ(table[-g].y, table[0].y);
        EXPECT_EQ(table[479 + g].x, table[479].x);
        EXPECT_EQ(table[639 + g].y, table[639].y);
    }
}

TEST(BufferListState, StateText_NamesTheThreeStates) {
    EXPECT_STREQ(CDriverBufferList::StateText(State::Free), "Free");
    EXPECT_STREQ(CDriverBufferList::StateText(State::Allocated), "Allocated");
    EXPECT_STREQ(CDriverBufferList::StateText(State::AcquisitionStarted), "AcquisitionStarted");
}

TEST(BufferListState, Allocated_RefusesWhatNeedsARunningAcquisition) {
    ImagePathRig rig;
    CDriverBufferList list(rig.Channel());
    int32_t index = 7;

    EXPECT_EQ(ThrownText([&] { list.StopAcquisition(); }),
              "Not in state \"AcquisitionStarted\" for stopping acquisition");
    EXPECT_EQ(ThrownText([&] { list.WaitForImage(index); }),
              "Not in state \"AcquesitionStarted\" for acquiring image");
    EXPECT_EQ(index, 7);
    const std::string grabInfo = "Not in state \"AcquesitionStarted\" for GRAB_INFO_*";
    EXPECT_EQ(ThrownText([&] { list.GetAcquiredCount(); }), grabInfo);
    EXPECT_EQ(ThrownText([&] { list.GetLostCount(); }), grabInfo);
    EXPECT_EQ(ThrownText([&] { list.GetLostLockedCount(); }), grabInfo);
    EXPECT_EQ(ThrownText([&] { list.GetLockedCount(); }), grabInfo);
    EXPECT_EQ(ThrownText([&] { list.GetPendingCount(); }), grabInfo);
    EXPECT_EQ(ThrownText([&] { list.IsBufferLocked(1); }),
              "Not in state \"AcquesitionStarted\" for seting buffer status");
    // Per-buffer questions go to the SDK in any state; without a head it refuses.
    EXPECT_EQ(ThrownText([&] { list.GetBufferTimestamp(1); }), "Error getting timestamp");
    EXPECT_EQ(ThrownText([&] { list.GetLastTimestamp(); }), "Error getting timestamp");
    EXPECT_EQ(ThrownText([&] { list.GetBufferTag(1); }), "Error getting tag");
    EXPECT_EQ(ThrownText([&] { list.GetTransferLength(1); }), "Error getting DMA transfer length");
    // Unlocking while stopped does nothing at all.
    EXPECT_EQ(ThrownText([&] { list.Unlock(1); }), "");
    EXPECT_EQ(SimCtl_CallCount("Fg_SetBufferStatus"), 0);
    EXPECT_EQ(list.GetState(), State::Allocated);
}

TEST(BufferListState, Start_RegistersEveryBufferAndResetsTheRing) {
    ImagePathRig rig;
    CDriverBufferList list(rig.Channel());
    list.StartAcquisition();

    EXPECT_EQ(list.GetState(), State::AcquisitionStarted);
    EXPECT_TRUE(Acquiring());
    EXPECT_EQ(SimCtl_CallCount("Fg_CreateMemoryHead"), 1);
    EXPECT_EQ(SimCtl_CallCount("Fg_AddBuffer"), 3);
    EXPECT_EQ(SimCtl_CallCount("Fg_AcquireEx"), 1);
    EXPECT_EQ(list.LastBufferNumber(), 0u);
    EXPECT_EQ(list.NextBufferNumber(), 1u);
    EXPECT_EQ(list.LastPictureNumber(), 0u);
    EXPECT_EQ(list.NextPictureNumber(), 1u);
    EXPECT_EQ(list.ImagesAcquired(), 0u);
    EXPECT_EQ(list.IncompleteImages(), 0u);
    list.StopAcquisition();
}

TEST(BufferListState, StartTwice_SecondRefusedAndTheFirstKeepsRunning) {
    ImagePathRig rig;
    CDriverBufferList list(rig.Channel());
    list.StartAcquisition();

    EXPECT_EQ(ThrownText([&] { list.StartAcquisition(); }),
              "Not in state \"Allocated\" for starting acquisition");
    EXPECT_EQ(list.GetState(), State::AcquisitionStarted);
    EXPECT_TRUE(Acquiring());
    int32_t index = -1;
    EXPECT_EQ(list.WaitForImage(index), CDriverBufferList::WaitDelivered);
    EXPECT_EQ(index, 0);
    list.StopAcquisition();
}

TEST(BufferListState, Stop_RemovesTheBuffersFreesTheHeadAndReturnsToAllocated) {
    ImagePathRig rig;
    CDriverBufferList list(rig.Channel());
    list.StartAcquisition();
    list.StopAcquisition();

    EXPECT_EQ(list.GetState(), State::Allocated);
    EXPECT_FALSE(Acquiring());
    EXPECT_EQ(SimCtl_CallCount("Fg_StopAcquire"), 1);
    EXPECT_EQ(SimCtl_CallCount("Fg_RemoveBuffer"), 3);
    EXPECT_EQ(SimCtl_CallCount("Fg_FreeMemoryHead"), 1);
    EXPECT_EQ(ThrownText([&] { list.StopAcquisition(); }),
              "Not in state \"AcquisitionStarted\" for stopping acquisition");
}

TEST(BufferListState, Restart_ResetsTheCountersButKeepsTheLastTagAndLength) {
    ImagePathRig rig;
    CDriverBufferList list(rig.Channel());
    list.StartAcquisition();
    int32_t index = -1;
    ASSERT_EQ(list.WaitForImage(index), CDriverBufferList::WaitDelivered);
    ASSERT_EQ(list.WaitForImage(index), CDriverBufferList::WaitDelivered);
    const uint64_t tag = list.LastTag();
    const uint64_t length = list.LastTransferLength();
    list.StopAcquisition();
    EXPECT_EQ(list.LastPictureNumber(), 2u);

    list.StartAcquisition();
    EXPECT_EQ(list.LastPictureNumber(), 0u);
    EXPECT_EQ(list.ImagesAcquired(), 0u);
    EXPECT_EQ(list.NextBufferNumber(), 1u);
    EXPECT_EQ(list.LastTag(), tag);
    EXPECT_EQ(list.LastTransferLength(), length);
    ASSERT_EQ(list.WaitForImage(index), CDriverBufferList::WaitDelivered);
    EXPECT_EQ(index, 0);
    EXPECT_EQ(list.LastPictureNumber(), 1u);
    list.StopAcquisition();
}

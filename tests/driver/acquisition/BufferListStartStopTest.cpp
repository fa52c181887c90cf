// Starting and stopping: SDK failures at every step, the roll-back of a failed
// start, and destruction of a list that is still acquiring.
#include "driver/acquisition/ImagePathRig.h"

#include "acquisition/DriverBufferList.h"

#include <simctl/SimControl.h>

#include <platform/ZeroedBlock.h>

#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>
#include <string>

using imagepath::ImagePathRig;
using imagepath::RigOptions;
using imagepath::ThrownText;
using State = CDriverBufferList::State;

namespace {

/// A later start on the same list delivers images again.
void ExpectStartWorks(CDriverBufferList& list) {
    SimCtl_ClearFaults();
    ASSERT_NO_THROW(list.StartAcquisition());
    int32_t index = -1;
    EXPECT_EQ(list.WaitForImage(index), CDriverBufferList::WaitDelivered);
    EXPECT_EQ(index, 0);
    EXPECT_NO_THROW(list.StopAcquisition());
}

} // namespace

TEST(BufferListStart, HeadRefused_ThrowsAndRegistersNothing) {
    ImagePathRig rig;
    CDriverBufferList list(rig.Channel());
    SimCtl_FailCall("Fg_CreateMemoryHead", FG_ERR_OUT_OF_MEMORY, 1);

    EXPECT_EQ(ThrownText([&] { list.StartAcquisition(); }),
              "Failed to create head for custom memory");
    EXPECT_EQ(list.GetState(), State::Allocated);
    EXPECT_EQ(SimCtl_CallCount("Fg_AddBuffer"), 0);
    EXPECT_EQ(SimCtl_CallCount("Fg_AcquireEx"), 0);
    ExpectStartWorks(list);
}

TEST(BufferListStart, AddBufferRefused_FreesTheHead) {
    ImagePathRig rig;
    CDriverBufferList list(rig.Channel());
    SimCtl_FailCall("Fg_AddBuffer", FG_ERR_INVALID_BUFFER, 1);

    EXPECT_EQ(ThrownText([&] { list.StartAcquisition(); }),
              "Failed to add custom memory to SiSo SDK");
    EXPECT_EQ(list.GetState(), State::Allocated);
    EXPECT_EQ(SimCtl_CallCount("Fg_RemoveBuffer"), 0);
    EXPECT_EQ(SimCtl_CallCount("Fg_FreeMemoryHead"), 1);
    EXPECT_EQ(SimCtl_CallCount("Fg_AcquireEx"), 0);
    ExpectStartWorks(list);
}

TEST(BufferListStart, AcquireExRefused_RemovesTheBuffersAndFreesTheHead) {
    ImagePathRig rig;
    CDriverBufferList list(rig.Channel());
    SimCtl_FailCall("Fg_AcquireEx", FG_ERR_INVALID_MEMORY, 1);

    EXPECT_EQ(ThrownText([&] { list.StartAcquisition(); }), "Error in Fg_AcquireEx");
    EXPECT_EQ(list.GetState(), State::Allocated);
    EXPECT_EQ(DmaCounters().acquiring, 0);
    EXPECT_EQ(SimCtl_CallCount("Fg_StopAcquire"), 0);
    EXPECT_EQ(SimCtl_CallCount("Fg_RemoveBuffer"), 3);
    EXPECT_EQ(SimCtl_CallCount("Fg_FreeMemoryHead"), 1);
    ExpectStartWorks(list);
}

// A stop is best effort: every step runs even when one fails, the list ends
// stopped and the first failure is thrown; the next start works.
TEST(BufferListStop, DmaStopRefusedOnce_TriedAgainAndTheListEndsStopped) {
    ImagePathRig rig;
    CDriverBufferList list(rig.Channel());
    list.StartAcquisition();
    SimCtl_FailCall("Fg_StopAcquire", FG_ERR_INVALID_MEMORY, 1);

    EXPECT_EQ(ThrownText([&] { list.StopAcquisition(); }), "Error failed to stop acquisition");
    EXPECT_EQ(list.GetState(), State::Allocated);
    EXPECT_EQ(DmaCounters().acquiring, 0);
    EXPECT_EQ(SimCtl_CallCount("Fg_StopAcquire"), 2);
    EXPECT_EQ(SimCtl_CallCount("Fg_RemoveBuffer"), 3);
    EXPECT_EQ(SimCtl_CallCount("Fg_FreeMemoryHead"), 1);
    ExpectStartWorks(list);
}

TEST(BufferListStop, RemoveBufferRefused_RemainingStepsRunAndItsTextIsThrown) {
    ImagePathRig rig;
    CDriverBufferList list(rig.Channel());
    list.StartAcquisition();
    SimCtl_FailCall("Fg_RemoveBuffer", FG_ERR_INVALID_BUFFER, 1);

    EXPECT_EQ(ThrownText([&] { list.StopAcquisition(); }), "Error freeing removing custom memory");
    EXPECT_EQ(list.GetState(), State::Allocated);
    EXPECT_EQ(DmaCounters().acquiring, 0);
    EXPECT_EQ(SimCtl_CallCount("Fg_RemoveBuffer"), 3);
    EXPECT_EQ(SimCtl_CallCount("Fg_FreeMemoryHead"), 1);
    ExpectStartWorks(list);
}

TEST(BufferListStop, FreeHeadRefused_ThrowsItsTextAndTheNextStartFreesTheKeptHead) {
    ImagePathRig rig;
    CDriverBufferList list(rig.Channel());
    list.StartAcquisition();
    SimCtl_FailCall("Fg_FreeMemoryHead", FG_ERR_INVALID_MEMORY, 1);

    EXPECT_EQ(ThrownText([&] { list.StopAcquisition(); }), "Error freeing memory head");
    EXPECT_EQ(list.GetState(), State::Allocated);
    list.StartAcquisition();
    EXPECT_EQ(SimCtl_CallCount("Fg_FreeMemoryHead"), 2);
    EXPECT_NO_THROW(list.StopAcquisition());
}

TEST(BufferListDestruction, WhileAcquiring_StopsTheDmaFirst) {
    ImagePathRig rig;
    auto list = std::make_unique<CDriverBufferList>(rig.Channel());
    list->StartAcquisition();
    int32_t index = -1;
    ASSERT_EQ(list->WaitForImage(index), CDriverBufferList::WaitDelivered);

    list.reset();
    EXPECT_EQ(DmaCounters().acquiring, 0);
    EXPECT_EQ(SimCtl_CallCount("Fg_StopAcquire"), 1);
    EXPECT_EQ(SimCtl_CallCount("Fg_RemoveBuffer"), 3);
    EXPECT_EQ(SimCtl_CallCount("Fg_FreeMemoryHead"), 1);
}

TEST(BufferListDestruction, StopRefusedOnce_StillStopsAndReleases) {
    ImagePathRig rig;
    auto list = std::make_unique<CDriverBufferList>(rig.Channel());
    list->StartAcquisition();
    SimCtl_FailCall("Fg_StopAcquire", FG_ERR_INVALID_MEMORY, 1);

    list.reset();
    EXPECT_EQ(DmaCounters().acquiring, 0);
    EXPECT_EQ(SimCtl_CallCount("Fg_StopAcquire"), 2);
    EXPECT_EQ(SimCtl_CallCount("Fg_RemoveBuffer"), 3);
    EXPECT_EQ(SimCtl_CallCount("Fg_FreeMemoryHead"), 1);
}

TEST(BufferListDestruction, DmaThatCannotBeStopped_KeepsWritingIntoMemoryThatStaysValid) {
    RigOptions options;
    options.dma.frameRate = 500.0;
    auto rig = std::make_unique<ImagePathRig>(options);
    rig->Channel().SetLockMode(1); // standard mode: the DMA writes whatever the host holds
    auto list = std::make_unique<CDriverBufferList>(rig->Channel());
    list->StartAcquisition();
    uint8_t* block = list->BufferAddress(0);
    const size_t blockSize = static_cast<size_t>(list->ImageSize() * list->NumberOfBuffers());
    SimCtl_FailCall("Fg_StopAcquire", FG_ERR_INVALID_MEMORY, SIMCTL_ALWAYS);

    list.reset(); // must neither end the process nor free memory the DMA still reaches
    const int64_t produced = rig->Produced();
    EXPECT_TRUE(imagepath::WaitUntil([&] { return rig->Produced() > produced + 3; }))
        << "the DMA was expected to keep running";
    EXPECT_EQ(DmaCounters().acquiring, 1);

    SimCtl_ClearFaults();
    rig.reset(); // closing the board stops the DMA
    // Given up by the list; nothing writes into it any more.
    platform::ZeroedBlock::FreeAbandoned(block, blockSize);
}

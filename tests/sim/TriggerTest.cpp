// Software trigger: one frame per trigger, only while a triggered DMA acquires.
#include "SimTestSupport.h"

#include <gtest/gtest.h>

using namespace simtest;

namespace {

class TriggerTest : public ::testing::Test {
protected:
    void SetUp() override { UseMachine(); }

    std::unique_ptr<Board> Open(const std::string& dmaKeys) {
        auto board = std::make_unique<Board>(dir_.Write("applet.ini", "[dma0]\n" + dmaKeys), 0);
        EXPECT_TRUE(*board) << Fg_LastErrorText(nullptr);
        return board;
    }

    TempDir dir_;
};

TEST_F(TriggerTest, TriggerMode_EachTriggerGivesExactlyOneFrame) {
    auto board = Open("trigger = software\n");
    CustomRing ring(board->get(), 640 * 480, 4);
    ASSERT_EQ(Fg_AcquireEx(board->get(), 0, -1, FG_ACQ_STANDARD, ring.Head()), 0);
    Acquisition running(board->get(), 0, ring.Head());

    for (int i = 0; i < 3; ++i) {
        EXPECT_NE(Fg_SoftwareTrigger(board->get(), 0), 0);
    }
    EXPECT_EQ(
        Fg_WaitImage(board->get(), FG_WAIT_PICTURE_NUMBER, 3, 0, PatienceSeconds, ring.Head()), 3);
    // No fourth frame comes without a fourth trigger.
    EXPECT_EQ(Fg_WaitImage(board->get(), FG_WAIT_PICTURE_NUMBER, 4, 0, 1, ring.Head()),
              FG_ERR_TIMEOUT);
    EXPECT_EQ(Fg_QueryStatus(board->get(), FG_STATUS_GRABBED, 0, 0, ring.Head()), 3);
    SimCtlDmaCounters counters{};
    ASSERT_EQ(SimCtl_GetDmaCounters(0, 0, &counters), SIMCTL_OK);
    EXPECT_EQ(counters.produced, 3);
    EXPECT_EQ(counters.pendingTriggers, 0);

    const std::uint32_t fire = 1;
    ASSERT_EQ(Fg_SetParameter(board->get(), SIM_PARAM_SENDSOFTWARETRIGGER, &fire, 0), 0);
    EXPECT_EQ(
        Fg_WaitImage(board->get(), FG_WAIT_PICTURE_NUMBER, 4, 0, PatienceSeconds, ring.Head()), 4);
    const std::uint32_t nonsense = 2;
    EXPECT_EQ(Fg_SetParameter(board->get(), SIM_PARAM_SENDSOFTWARETRIGGER, &nonsense, 0),
              FG_ERR_INVALID_VALUE);
}

TEST_F(TriggerTest, NotAcquiring_TriggerAnswersZero) {
    auto board = Open("trigger = software\n");
    EXPECT_EQ(Fg_SoftwareTrigger(board->get(), 0), 0);
    EXPECT_EQ(Fg_LastErrorNumber(board->get()), FG_ERR_NOT_ACQUIRING);
    EXPECT_EQ(Fg_SoftwareTrigger(board->get(), 9), 0);
    EXPECT_EQ(Fg_LastErrorNumber(board->get()), FG_ERR_INVALID_DMA);
    EXPECT_EQ(Fg_SoftwareTrigger(nullptr, 0), 0);
}

TEST_F(TriggerTest, FreeRunningDma_TriggerAnswersZero) {
    auto board = Open("framerate = 100\n");
    CustomRing ring(board->get(), 640 * 480, 2);
    ASSERT_EQ(Fg_AcquireEx(board->get(), 0, -1, FG_ACQ_STANDARD, ring.Head()), 0);
    Acquisition running(board->get(), 0, ring.Head());
    EXPECT_EQ(Fg_SoftwareTrigger(board->get(), 0), 0);
    EXPECT_EQ(Fg_LastErrorNumber(board->get()), FG_ERR_NOT_TRIGGER_MODE);
}

TEST_F(TriggerTest, SwitchingToTriggerModeWhileAcquiring_StopsFreeRunningFrames) {
    auto board = Open("");
    CustomRing ring(board->get(), 640 * 480, 2);
    ASSERT_EQ(Fg_AcquireEx(board->get(), 0, -1, FG_ACQ_STANDARD, ring.Head()), 0);
    Acquisition running(board->get(), 0, ring.Head());
    ASSERT_EQ(
        Fg_WaitImage(board->get(), FG_WAIT_PICTURE_NUMBER, 2, 0, PatienceSeconds, ring.Head()), 2);
    const std::uint32_t triggered = SIM_TRIGGER_SOFTWARE;
    ASSERT_EQ(Fg_SetParameter(board->get(), SIM_PARAM_TRIGGERMODE, &triggered, 0), 0);
    // Whatever was in flight lands; after that only triggers make frames.
    SimCtlDmaCounters before{};
    ASSERT_EQ(SimCtl_GetDmaCounters(0, 0, &before), SIMCTL_OK);
    const std::int64_t next = before.delivered + 2;
    EXPECT_EQ(Fg_WaitImage(board->get(), FG_WAIT_PICTURE_NUMBER, next, 0, 1, ring.Head()),
              FG_ERR_TIMEOUT);
    ASSERT_NE(Fg_SoftwareTrigger(board->get(), 0), 0);
    ASSERT_NE(Fg_SoftwareTrigger(board->get(), 0), 0);
    EXPECT_EQ(
        Fg_WaitImage(board->get(), FG_WAIT_PICTURE_NUMBER, next, 0, PatienceSeconds, ring.Head()),
        next);
}

} // namespace

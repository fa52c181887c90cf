// Injected faults and call counters of the control API.
#include "SimTestSupport.h"

#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

using namespace simtest;

namespace {

class FaultTest : public ::testing::Test {
protected:
    void SetUp() override {
        UseMachine();
        applet_ = dir_.Write("applet.ini", "[dma0]\ntrigger = software\n");
    }
    void TearDown() override { SimCtl_ClearFaults(); }

    TempDir dir_;
    std::string applet_;
};

TEST_F(FaultTest, FailOnce_OnlyTheNextCallFailsWithTheCode) {
    Board board(applet_, 0);
    ASSERT_TRUE(board);
    ASSERT_EQ(SimCtl_FailCall("Fg_GetParameter", -7777, 1), SIMCTL_OK);
    std::uint32_t width = 0;
    EXPECT_EQ(Fg_GetParameter(board.get(), FG_PARAM_WIDTH, &width, 0), -7777);
    EXPECT_EQ(width, 0u);
    EXPECT_EQ(Fg_LastErrorNumber(board.get()), -7777);
    EXPECT_NE(std::string(Fg_LastErrorText(board.get())).find("injected"), std::string::npos);
    EXPECT_EQ(Fg_GetParameter(board.get(), FG_PARAM_WIDTH, &width, 0), 0);
    EXPECT_EQ(width, 640u);
}

TEST_F(FaultTest, FailTwice_ThenAlways_ThenClear) {
    ASSERT_EQ(SimCtl_FailCall("Fg_BoardType", -1, 2), SIMCTL_OK);
    EXPECT_EQ(Fg_BoardType(0), -1);
    EXPECT_EQ(Fg_BoardType(0), -1);
    EXPECT_EQ(Fg_BoardType(0), 1873);

    ASSERT_EQ(SimCtl_FailCall("Fg_BoardType", -1, SIMCTL_ALWAYS), SIMCTL_OK);
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(Fg_BoardType(0), -1);
    }
    SimCtl_ClearFaults();
    EXPECT_EQ(Fg_BoardType(0), 1873);

    ASSERT_EQ(SimCtl_FailCall("Fg_BoardType", -1, SIMCTL_ALWAYS), SIMCTL_OK);
    ASSERT_EQ(SimCtl_FailCall("Fg_BoardType", -1, 0), SIMCTL_OK);
    EXPECT_EQ(Fg_BoardType(0), 1873);
}

TEST_F(FaultTest, PointerAndTriggerCalls_FailTheirOwnWay) {
    ASSERT_EQ(SimCtl_FailCall("Fg_RuntimeVersion", -1, 1), SIMCTL_OK);
    EXPECT_EQ(Fg_RuntimeVersion(), nullptr);
    EXPECT_STREQ(Fg_RuntimeVersion(), "5.7.0");

    ASSERT_EQ(SimCtl_FailCall("Fg_OpenBoard", FG_ERR_NO_SUCH_BOARD, 1), SIMCTL_OK);
    EXPECT_EQ(Fg_OpenBoard(applet_.c_str(), 0), nullptr);
    EXPECT_EQ(Fg_LastErrorNumber(nullptr), FG_ERR_NO_SUCH_BOARD);

    Board board(applet_, 0);
    ASSERT_TRUE(board);
    ASSERT_EQ(SimCtl_FailCall("Fg_CreateMemoryHead", FG_ERR_OUT_OF_MEMORY, 1), SIMCTL_OK);
    EXPECT_EQ(Fg_CreateMemoryHead(board.get(), 100, 1), nullptr);
    EXPECT_EQ(Fg_LastErrorNumber(board.get()), FG_ERR_OUT_OF_MEMORY);

    CustomRing ring(board.get(), 640 * 480, 1);
    ASSERT_EQ(Fg_AcquireEx(board.get(), 0, -1, FG_ACQ_STANDARD, ring.Head()), 0);
    Acquisition running(board.get(), 0, ring.Head());
    ASSERT_EQ(SimCtl_FailCall("Fg_SoftwareTrigger", -5, 1), SIMCTL_OK);
    EXPECT_EQ(Fg_SoftwareTrigger(board.get(), 0), 0);
    EXPECT_NE(Fg_SoftwareTrigger(board.get(), 0), 0);
}

TEST_F(FaultTest, AcquireExFault_LeavesTheDmaIdle) {
    Board board(applet_, 0);
    CustomRing ring(board.get(), 640 * 480, 1);
    ASSERT_EQ(SimCtl_FailCall("Fg_AcquireEx", -2060, 1), SIMCTL_OK);
    EXPECT_EQ(Fg_AcquireEx(board.get(), 0, -1, FG_ACQ_STANDARD, ring.Head()), -2060);
    SimCtlDmaCounters counters{};
    ASSERT_EQ(SimCtl_GetDmaCounters(0, 0, &counters), SIMCTL_OK);
    EXPECT_EQ(counters.acquiring, 0);
    EXPECT_EQ(Fg_AcquireEx(board.get(), 0, -1, FG_ACQ_STANDARD, ring.Head()), 0);
    EXPECT_EQ(Fg_StopAcquire(board.get(), 0, ring.Head(), FG_STOP_SYNC), 0);
}

TEST_F(FaultTest, CallCounts_CountEveryCallByNameUntilReset) {
    Board board(applet_, 0);
    CustomRing ring(board.get(), 640 * 480, 2);
    ASSERT_EQ(Fg_AcquireEx(board.get(), 0, -1, FG_ACQ_BLOCKING, ring.Head()), 0);
    Acquisition running(board.get(), 0, ring.Head());
    SimCtl_ResetCallCounts();

    for (int b = 1; b <= 2; ++b) {
        Fg_SetBufferStatus(board.get(), FG_BUFFER_UNBLOCK, b, 0, ring.Head());
    }
    Fg_SetBufferStatus(board.get(), FG_BUFFER_UNBLOCK, 7, 0, ring.Head()); // failing calls count
    Fg_QueryStatus(board.get(), FG_STATUS_LOST, 0, 0, ring.Head());
    EXPECT_EQ(SimCtl_CallCount("Fg_SetBufferStatus"), 3);
    EXPECT_EQ(SimCtl_CallCount("Fg_QueryStatus"), 1);
    EXPECT_EQ(SimCtl_CallCount("Fg_WaitImage"), 0);
    EXPECT_EQ(SimCtl_CallCount("Gbe_OpenBoard"), 0);
    EXPECT_EQ(SimCtl_CallCount("No_Such"), -1);
    SimCtl_ResetCallCounts();
    EXPECT_EQ(SimCtl_CallCount("Fg_SetBufferStatus"), 0);
}

// Each thread counts in its own counters: the count is the exact sum over running
// and ended threads, and a reset counts from the moment it was made.
TEST_F(FaultTest, CallCounts_FromManyThreads_AreExactAndSurviveTheThreads) {
    SimCtl_ResetCallCounts();
    constexpr int kThreads = 4;
    constexpr int kCalls = 2500;
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([] {
            for (int i = 0; i < kCalls; ++i)
                Fg_BoardType(0);
        });
    }
    for (std::thread& thread : threads)
        thread.join();
    Fg_BoardType(0);
    EXPECT_EQ(SimCtl_CallCount("Fg_BoardType"), kThreads * kCalls + 1);
    SimCtl_ResetCallCounts();
    EXPECT_EQ(SimCtl_CallCount("Fg_BoardType"), 0);
    std::thread([] { Fg_BoardType(0); }).join();
    EXPECT_EQ(SimCtl_CallCount("Fg_BoardType"), 1);
}

TEST_F(FaultTest, CallOrder_NumbersTheLatestCallOfEachFunctionWhileOn) {
    Fg_BoardType(0); // before recording: no number
    SimCtl_RecordCallOrder(1);
    EXPECT_EQ(SimCtl_LastCallOrder("Fg_BoardType"), 0);
    Fg_BoardType(0);
    Fg_RuntimeVersion();
    ASSERT_EQ(SimCtl_FailCall("Fg_BoardType", -1, 1), SIMCTL_OK);
    Fg_BoardType(0); // a failed call takes a number too
    EXPECT_EQ(SimCtl_LastCallOrder("Fg_RuntimeVersion"), 2);
    EXPECT_EQ(SimCtl_LastCallOrder("Fg_BoardType"), 3);
    EXPECT_EQ(SimCtl_LastCallOrder("Fg_WaitImage"), 0);
    EXPECT_EQ(SimCtl_LastCallOrder("No_Such"), -1);

    SimCtl_ClearFaults(); // leaves the recording on
    Fg_RuntimeVersion();
    EXPECT_EQ(SimCtl_LastCallOrder("Fg_RuntimeVersion"), 4);
    SimCtl_RecordCallOrder(1); // afresh
    EXPECT_EQ(SimCtl_LastCallOrder("Fg_RuntimeVersion"), 0);
    SimCtl_RecordCallOrder(0);
    Fg_RuntimeVersion();
    EXPECT_EQ(SimCtl_LastCallOrder("Fg_RuntimeVersion"), 0);
}

TEST_F(FaultTest, UnknownFunctionName_IsRefused) {
    EXPECT_EQ(SimCtl_FailCall("Fg_Missing", -1, 1), SIMCTL_ERR_UNKNOWN_FUNCTION);
    EXPECT_NE(std::string(SimCtl_LastError()).find("Fg_Missing"), std::string::npos);
    EXPECT_EQ(SimCtl_FailCall(nullptr, -1, 1), SIMCTL_ERR_UNKNOWN_FUNCTION);
    EXPECT_EQ(SimCtl_DelayCall("Nope", 1, 1), SIMCTL_ERR_UNKNOWN_FUNCTION);
}

TEST_F(FaultTest, Delay_CallStillDoesItsWork) {
    ASSERT_EQ(SimCtl_DelayCall("Fg_BoardType", 5, 1), SIMCTL_OK);
    EXPECT_EQ(Fg_BoardType(0), 1873);
    EXPECT_EQ(SimCtl_CallCount("Fg_BoardType"), 1);
}

TEST_F(FaultTest, MachineFileFaults_AreArmedByLoadingAndReplacedByTheNextLoad) {
    UseMachine("[board0]\ntype = 1873\n[faults]\nFg_BoardType = -9 x2\nGbe_OpenBoard = -3005\n");
    // UseMachine clears faults after loading; load again without clearing.
    ASSERT_EQ(SimCtl_LoadMachineText("[board0]\ntype = 1873\n[faults]\nFg_BoardType = -9 x2\n"
                                     "Gbe_OpenBoard = -3005 always\n"),
              SIMCTL_OK);
    EXPECT_EQ(Fg_BoardType(0), -9);
    EXPECT_EQ(Fg_BoardType(0), -9);
    EXPECT_EQ(Fg_BoardType(0), 1873);
    Gbe_Board* board = nullptr;
    EXPECT_EQ(Gbe_OpenBoard(0, 0, &board), -3005);
    EXPECT_EQ(Gbe_OpenBoard(0, 0, &board), -3005);

    ASSERT_EQ(SimCtl_LoadMachineText("[board0]\ntype = 1873\n"), SIMCTL_OK);
    EXPECT_EQ(Gbe_OpenBoard(0, 0, &board), GBE_ERR_NOT_GIGE_BOARD);
}

} // namespace

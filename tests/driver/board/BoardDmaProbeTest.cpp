// The DMA probe: the defined number of DMAs, its limits, and the first DMA that
// cannot acquire ending the count.
#include "BoardTestSupport.h"

#include "support/ScopedCapture.h"

#include <simctl/SimControl.h>

#include <gtest/gtest.h>

using namespace boardtest;

TEST(DriverBoardProbe, TenDefinedOnAFourDmaBoard_WarnsAndFindsFour) {
    ScopedCapture capture;
    Rig rig(CameraLinkSetup({Dma{}, Dma{}, Dma{}, Dma{}}, "", 1873, "dmas=10"));
    auto board = rig.Board();
    ASSERT_NE(board, nullptr);
    EXPECT_EQ(board->GetChannelCountNoProbe(), 4u);

    const auto limit = With(capture.target(), "exceeding max limit");
    ASSERT_EQ(limit.size(), 1u);
    EXPECT_EQ(limit[0].text,
              "\tBoard = 0\tINI file: number of defined DMAs exceeding max limit 10>8");
    EXPECT_EQ(Where(limit[0]), "warn DriverBoard(358)");
    EXPECT_TRUE(
        InOrder(capture.target(),
                {"\tBoard = 0\tChecking defined number of DMAs = 10", "\tBoard = 0\tDMA 0 OK",
                 "\tBoard = 0\tDMA 1 OK", "\tBoard = 0\tDMA 2 OK", "\tBoard = 0\tDMA 3 OK",
                 "\tBoard = 0\tFound DMAS: 4", "\tBoard = 0\tNumber of DMas successfully setup",
                 "\tBoard = 0\tRequested maximum number of channels = 4"}));
    const auto dimension = With(capture.target(), "\tBoard = 0\tDMA dimension error = ");
    ASSERT_EQ(dimension.size(), 1u);
    EXPECT_NE(dimension[0].text, "\tBoard = 0\tDMA dimension error = 0");
    EXPECT_TRUE(With(capture.target(), "DMA 4 ").empty()) << "DMA 4 is never acquired";
}

TEST(DriverBoardProbe, ZeroDefined_ErrorNoProbeAndAskedAgainNextTime) {
    ScopedCapture capture;
    Rig rig(CameraLinkSetup({Dma{}, Dma{}}, "", 1873, "dmas=0"));
    auto board = rig.Board();
    ASSERT_NE(board, nullptr) << "a board without DMAs is still usable";
    EXPECT_EQ(board->GetChannelCountNoProbe(), 0u);

    const auto error = With(capture.target(), "exceeding min limit");
    ASSERT_EQ(error.size(), 1u);
    EXPECT_EQ(error[0].text,
              "\tBoard = 0\tINI file: number of defined DMAs exceeding min limit 0<1");
    EXPECT_EQ(Where(error[0]), "err DriverBoard(360)");
    EXPECT_EQ(SimCtl_CallCount("Fg_AcquireEx"), 0);

    EXPECT_EQ(board->GetChannelCount(), 0);
    EXPECT_EQ(With(capture.target(), "\tBoard = 0\tChecking defined number of DMAs = 0").size(),
              2u);
    EXPECT_EQ(board->OpenChannel(L"~idx:0", nullptr), nullptr);
}

TEST(DriverBoardProbe, FailedFirstProbe_NextChannelCountProbesAgainAndFindsTheDmas) {
    ScopedCapture capture;
    Rig::Setup setup = CameraLinkSetup({Dma{}, Dma{}});
    setup.machine += "[faults]\nFg_AllocMemory = -2040 once\n";
    Rig rig(setup);
    auto board = rig.Board();
    ASSERT_NE(board, nullptr);
    EXPECT_EQ(board->GetChannelCountNoProbe(), 0u);
    EXPECT_TRUE(InOrder(capture.target(), {"\tBoard = 0\tFailed to alloc memory for DMA: 0",
                                           "\tBoard = 0\tFound DMAS: 0"}));

    EXPECT_EQ(board->GetChannelCount(), 2);
    EXPECT_EQ(board->GetChannelCountNoProbe(), 2u);
    EXPECT_NE(board->OpenChannel(L"~idx:1", nullptr), nullptr);
    EXPECT_EQ(board->GetChannelCount(), 2);
    EXPECT_EQ(With(capture.target(), "Checking defined number of DMAs").size(), 2u)
        << "no probe once DMAs were found";
}

TEST(DriverBoardProbe, AcquireFails_EndsTheProbeAtThatDma) {
    ScopedCapture capture;
    Rig::Setup setup = CameraLinkSetup({Dma{}, Dma{}, Dma{}});
    setup.machine += "[faults]\nFg_AcquireEx = -2060 once\n";
    Rig rig(setup);
    auto board = rig.Board();
    ASSERT_NE(board, nullptr);
    EXPECT_EQ(board->GetChannelCountNoProbe(), 0u);
    EXPECT_TRUE(InOrder(capture.target(),
                        {"\tBoard = 0\tDMA 0 INVALID_MEMORY", "\tBoard = 0\tDMA 0 error = -2060",
                         "\tBoard = 0\tFound DMAS: 0"}));
    EXPECT_EQ(SimCtl_CallCount("Fg_FreeMemory"), 1) << "the probe memory is freed";
}

// The DMA reports a width beyond 65535: the probe memory is 512 pixels wide. The
// stop is made to fail so that the single probe frame stays to be inspected.
TEST(DriverBoardProbe, HugeWidth_ProbedWith512) {
    ScopedCapture capture;
    Dma wide{70000, 4};
    wide.extra = "maxwidth = 100000\n";
    Rig::Setup setup = CameraLinkSetup({wide}, "", 1873, "dmas=1");
    setup.machine += "[faults]\nFg_StopAcquire = -2071 once\n";
    Rig rig(setup);
    auto board = rig.Board();
    ASSERT_NE(board, nullptr);
    EXPECT_EQ(board->GetChannelCountNoProbe(), 1u);

    ASSERT_EQ(SimCtl_WaitFrames(0, 0, 1, 30000), SIMCTL_OK);
    SimCtlBufferRecord record{};
    ASSERT_EQ(SimCtl_GetBufferRecord(0, 0, 1, &record), SIMCTL_OK);
    EXPECT_EQ(record.width, 70000u);
    EXPECT_EQ(record.transferLength, 512u * 4u) << "the memory held 512 x 4 bytes";

    const auto stop = With(capture.target(), "Failed to stop acquisition");
    ASSERT_EQ(stop.size(), 1u);
    EXPECT_EQ(Where(stop[0]), "warn DriverBoard(405)");
    const auto free = With(capture.target(), "Failed to free memory");
    ASSERT_EQ(free.size(), 1u);
    EXPECT_EQ(Where(free[0]), "warn DriverBoard(407)");
}

// The probe must leave no DMA running: a DMA left busy makes every later start fail.
TEST(DriverBoardProbe, StopRefused_TriedAgainOrTheDmaIsNotCounted) {
    for (const bool once : {true, false}) {
        SCOPED_TRACE(once ? "refused once" : "always refused");
        ScopedCapture capture;
        Rig::Setup setup = CameraLinkSetup({Dma{}}, "", 1873, "dmas=1");
        setup.machine +=
            std::string("[faults]\nFg_StopAcquire = -2062 ") + (once ? "once" : "always") + "\n";
        Rig rig(setup);
        auto board = rig.Board();
        ASSERT_NE(board, nullptr);
        EXPECT_EQ(board->GetChannelCountNoProbe(), once ? 1u : 0u);
        EXPECT_EQ(SimCtl_CallCount("Fg_StopAcquire"), 2);
        const auto error = With(capture.target(), "\tBoard = 0\tDMA 0 could not be stopped");
        EXPECT_EQ(error.size(), once ? 0u : 1u);
        // The refusal's own reason follows the warning.
        EXPECT_FALSE(
            With(capture.target(), "\tBoard = 0\tSDK: memory is in use by an acquisition").empty());
        if (once) {
            SimCtlDmaCounters counters{};
            ASSERT_EQ(SimCtl_GetDmaCounters(0, 0, &counters), SIMCTL_OK);
            EXPECT_EQ(counters.acquiring, 0);
            EXPECT_TRUE(With(capture.target(), "Failed to free memory").empty());
        }
        SimCtl_ClearFaults();
    }
}

// CoaXPress board set-up: the GenICam board, the port scan with its retries, the
// connection layout, and a runtime without the GenICam library.
#include "BoardTestSupport.h"

#include "support/ScopedCapture.h"

#include <simctl/SimControl.h>

#include <gtest/gtest.h>

using namespace boardtest;

namespace {

/// me_5ACX_QP (1875) with the given cameras on its ports ("-" for an empty port).
Rig::Setup CoaXPressSetup(const std::string& boardLines, const std::string& cameras = "cam0, cam1",
                          const std::string& cameraKeys = "", const std::string& runtime = "5.7.0",
                          const std::string& faults = "") {
    Rig::Setup setup;
    std::string sections = BoardSection(0, 1875, 2, "cameras = " + cameras + "\n" + cameraKeys);
    for (const char* name : {"cam0", "cam1"}) {
        if (cameras.find(name) != std::string::npos)
            sections += std::string("[camera:") + name + "]\nkind = cxp\n\n";
    }
    setup.machine = Machine(sections + faults, runtime);
    setup.configuration = BoardConfiguration(0, "acq.mcf", boardLines);
    setup.files = {{"acq.mcf", Applet({Dma{}, Dma{}})}};
    return setup;
}

std::string Description(int code) {
    return GenICam().ErrorText(code);
}

} // namespace

TEST(DriverBoardCoaXPress, DefaultScan_OneCycleFindsBothCameras) {
    ScopedCapture capture;
    Rig rig(CoaXPressSetup(""));
    auto board = rig.Board();
    ASSERT_NE(board, nullptr);
    EXPECT_NE(board->GenICamBoard(), nullptr);
    EXPECT_EQ(SimCtl_CallCount("Sgc_scanPorts"), 1);
    EXPECT_TRUE(
        InOrder(capture.target(),
                {"\tBoard = 0\tSetup SiSo GeniCam", "\tBoard = 0\tStart scanning with speed: 0x38",
                 "\tBoard = 0\tFinished scanning", "\tBoard = 0\tCameras found: 2",
                 "\tBoard = 0\tSiSo GenICam  setup OK"}));

    board.reset();
    EXPECT_TRUE(InOrder(capture.target(),
                        {"\tBoard = 0\tCXP board free done", "\tBoard = 0\tBoard destructed"}));
    EXPECT_EQ(SimCtl_CallCount("Sgc_freeBoard"), 1);
}

TEST(DriverBoardCoaXPress, VerifyTwoCamerasWithOneAnswering_ThreeCyclesOfWarnings) {
    ScopedCapture capture;
    Rig rig(
        CoaXPressSetup("verify_cams=2\nretry=3\ncxp_speed=64", "cam0, cam1", "answering = 1\n"));
    auto board = rig.Board();
    ASSERT_NE(board, nullptr);

    EXPECT_EQ(SimCtl_CallCount("Sgc_scanPorts"), 3);
    EXPECT_EQ(With(capture.target(), "\tBoard = 0\tStart scanning with speed: 0x40").size(), 3u);
    for (int cycle = 0; cycle < 3; ++cycle) {
        const auto lines =
            With(capture.target(), "Error during board scan - cycle: " + std::to_string(cycle));
        ASSERT_EQ(lines.size(), 1u);
        EXPECT_EQ(lines[0].text, "Error during board scan - cycle: " + std::to_string(cycle));
        EXPECT_EQ(Where(lines[0]), "warn DriverBoard(567)");
    }
    const auto messages = With(capture.target(), "SDK error message: ");
    ASSERT_EQ(messages.size(), 3u);
    for (const auto& message : messages) {
        EXPECT_EQ(message.text, "SDK error message: " + Description(SGC_ERR_DISCOVERY_TIMEOUT));
        EXPECT_EQ(Where(message), "warn DriverBoard(568)");
    }
    EXPECT_TRUE(InOrder(capture.target(),
                        {"Error during board scan - cycle: 2", "\tBoard = 0\tCameras found: 1",
                         "\tBoard = 0\tSiSo GenICam  setup OK"}));
}

TEST(DriverBoardCoaXPress, VerifyMet_StopsAfterTheFirstCycle) {
    ScopedCapture capture;
    Rig rig(CoaXPressSetup("verify_cams=2\nretry=5"));
    auto board = rig.Board();
    ASSERT_NE(board, nullptr);
    EXPECT_EQ(SimCtl_CallCount("Sgc_scanPorts"), 1);
    EXPECT_TRUE(With(capture.target(), "Error during board scan").empty());
}

TEST(DriverBoardCoaXPress, RetryZeroOrScanOff_NoScanAndNoCamerasFound) {
    for (const char* lines : {"verify_cams=1\nretry=0", "scan=false"}) {
        ScopedCapture capture;
        Rig rig(CoaXPressSetup(lines));
        auto board = rig.Board();
        ASSERT_NE(board, nullptr) << lines;
        EXPECT_EQ(SimCtl_CallCount("Sgc_scanPorts"), 0) << lines;
        EXPECT_FALSE(With(capture.target(), "\tBoard = 0\tCameras found: 0").empty()) << lines;
        EXPECT_FALSE(With(capture.target(), "SiSo GenICam  setup OK").empty()) << lines;
    }
}

TEST(DriverBoardCoaXPress, Layout_LoadedInsteadOfAScan) {
    ScopedCapture capture;
    Rig::Setup setup = CoaXPressSetup("layout=%ORVDATA%Drivers\\layout.ini");
    setup.files.push_back({"layout.ini", "[camera0]\nport = 0\n\n[camera1]\nport = 1\n"});
    Rig rig(setup);
    auto board = rig.Board();
    ASSERT_NE(board, nullptr);

    EXPECT_EQ(SimCtl_CallCount("Sgc_scanPorts"), 0);
    EXPECT_FALSE(With(capture.target(), "\tBoard = 0\tsuccessfully loaded board layout: " +
                                            rig.Sim().DataDirectory() + "Drivers\\layout.ini")
                     .empty());
    EXPECT_TRUE(With(capture.target(), "Cameras found").empty());
    EXPECT_FALSE(With(capture.target(), "SiSo GenICam  setup OK").empty());
}

TEST(DriverBoardCoaXPress, EmptyLayout_IsHandedOnAndItsFailureLogged) {
    ScopedCapture capture;
    Rig rig(CoaXPressSetup("layout="));
    auto board = rig.Board();
    ASSERT_NE(board, nullptr);

    EXPECT_EQ(SimCtl_CallCount("Sgc_LoadBoardConfiguration"), 1);
    EXPECT_EQ(SimCtl_CallCount("Sgc_scanPorts"), 0);
    const auto failed = With(capture.target(), "failed to load: ");
    ASSERT_EQ(failed.size(), 1u);
    EXPECT_EQ(failed[0].text, "\tBoard = 0\tfailed to load: ");
    EXPECT_EQ(Where(failed[0]), "err DriverBoard(511)");
    const auto message = With(capture.target(), "SDK error message: ");
    ASSERT_EQ(message.size(), 1u);
    EXPECT_EQ(message[0].text,
              "\tBoard = 0\tSDK error message: " + Description(SGC_ERR_LAYOUT_FILE));
    EXPECT_EQ(Where(message[0]), "err DriverBoard(512)");
    EXPECT_TRUE(With(capture.target(), "Cameras found").empty());
    EXPECT_FALSE(With(capture.target(), "SiSo GenICam  setup OK").empty());
}

TEST(DriverBoardCoaXPress, InitBoardFails_WarnsAndRunsWithoutGenICamBoard) {
    ScopedCapture capture;
    Rig rig(
        CoaXPressSetup("", "cam0, cam1", "", "5.7.0", "[faults]\nSgc_initBoard = -4005 once\n"));
    auto board = rig.Board();
    ASSERT_NE(board, nullptr);
    EXPECT_EQ(board->GenICamBoard(), nullptr);
    const auto warning = With(capture.target(), "SiSo GenICam setup error: ");
    ASSERT_EQ(warning.size(), 1u);
    EXPECT_EQ(warning[0].text, "\tBoard = 0\tSiSo GenICam setup error: " +
                                   Description(SGC_ERR_BOARD_BUSY) + "-4005");
    EXPECT_EQ(Where(warning[0]), "warn DriverBoard(492)");
    EXPECT_FALSE(With(capture.target(), "\tBoard = 0\tTechnology specific setup failed.").empty());

    board.reset();
    EXPECT_TRUE(With(capture.target(), "CXP board free done").empty());
}

// A 5.2 runtime has no GenICam library: the empty entry table is never called.
TEST(DriverBoardCoaXPress, RuntimeWithoutGenICamLibrary_SetupFailsWithoutCallingIt) {
    ScopedCapture capture;
    Rig rig(CoaXPressSetup("", "cam0, cam1", "", "5.2.0"));
    ASSERT_FALSE(GenICam().Loaded());
    auto board = rig.Board();
    ASSERT_NE(board, nullptr);
    EXPECT_EQ(board->GenICamBoard(), nullptr);
    EXPECT_EQ(SimCtl_CallCount("Sgc_initBoard"), 0);
    const auto error = With(capture.target(), "GenICam library not loaded");
    ASSERT_EQ(error.size(), 1u);
    EXPECT_EQ(error[0].level, nwLogging::level_err);
    EXPECT_EQ(error[0].location.rfind("DriverBoard(", 0), 0u);
    EXPECT_FALSE(With(capture.target(), "\tBoard = 0\tTechnology specific setup failed.").empty());
    EXPECT_EQ(board->GetChannelCountNoProbe(), 2u) << "the DMAs still work";
}

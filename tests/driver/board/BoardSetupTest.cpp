// Board construction: the applet file, the Camera Link and GigE set-up, the
// section numbers the keys come from, and the order of destruction.
#include "BoardTestSupport.h"

#include "support/ScopedCapture.h"

#include <simctl/SimControl.h>

#include <gtest/gtest.h>

using namespace boardtest;

namespace {

bool AnyLocatedIn(const CapturingTarget& target, const std::string& file) {
    for (const CapturedRecord& record : target.records()) {
        if (record.location.rfind(file + "(", 0) == 0)
            return true;
    }
    return false;
}

Rig::Setup GigESetup(const std::string& faults = "") {
    Rig::Setup setup;
    setup.machine = Machine(BoardSection(0, 3650, 1) + faults);
    setup.configuration = BoardConfiguration(0, "acq.mcf");
    setup.files = {{"acq.mcf", Applet({Dma{}})}};
    return setup;
}

} // namespace

TEST(DriverBoard, CameraLink_LoadsTheAppletAndLogsTheSetUp) {
    ScopedCapture capture;
    Rig rig(CameraLinkSetup({Dma{}, Dma{}}));
    auto board = rig.Board();
    ASSERT_NE(board, nullptr);

    EXPECT_NE(board->Grabber(), nullptr);
    EXPECT_EQ(board->Technology(), TechnologyCameraLink);
    EXPECT_EQ(board->Information().name, "me_5VCL");
    EXPECT_EQ(board->GetChannelCountNoProbe(), 2u);
    EXPECT_EQ(board->PixelDepthReadout(), 1u);
    const std::string applet = rig.Sim().DataDirectory() + "Drivers\\acq.mcf";
    EXPECT_TRUE(
        InOrder(capture.target(), {"Startup Board", "\tBoard = 0\tinitialized with: " + applet,
                                   "\tBoard = 0\tSetup CL",
                                   "\tBoard = 0\tRequested maximum number of channels = 2"}));
    EXPECT_EQ(board->GetBoardIndex(), 0);
    EXPECT_EQ(board->GetChannelCount(), 2);
}

TEST(DriverBoard, NoAppletKey_BoardUnusableWithoutAnyBoardLine) {
    ScopedCapture capture;
    Rig rig({Machine(BoardSection(0, 1873)), "[BOARD0]\ndmas=2\n", {}});
    EXPECT_EQ(rig.Board(), nullptr);
    EXPECT_FALSE(AnyLocatedIn(capture.target(), "DriverBoard"));
    EXPECT_EQ(SimCtl_CallCount("Fg_OpenBoard"), 0);
}

TEST(DriverBoard, AppletFileMissing_BoardUnusableAndTheSdkNeverAsked) {
    ScopedCapture capture;
    Rig rig({Machine(BoardSection(0, 1873)), BoardConfiguration(0, "missing.mcf"), {}});
    EXPECT_EQ(rig.Board(), nullptr);
    EXPECT_FALSE(AnyLocatedIn(capture.target(), "DriverBoard"));
    EXPECT_EQ(SimCtl_CallCount("Fg_OpenBoard"), 0);
}

TEST(DriverBoard, AppletRefusedByTheSdk_LogsTheConfigurationErrorAtLine59) {
    ScopedCapture capture;
    Rig rig({Machine(BoardSection(0, 1873)),
             BoardConfiguration(0, "broken.mcf"),
             {{"broken.mcf", "[dma0]\nwidth = wide\n"}}});
    EXPECT_EQ(rig.Board(), nullptr);

    const auto lines = With(capture.target(), "BoardConfig(mcf/hap) could not be initialized.");
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].text, "\tBoard = 0\tBoardConfig(mcf/hap) could not be initialized. MCF = " +
                                 rig.Sim().DataDirectory() + "Drivers\\broken.mcf");
    EXPECT_EQ(Where(lines[0]), "err DriverBoard(59)");
    EXPECT_FALSE(With(capture.target(), "\tBoard = 0\tBoard destructed").empty());
}

// Logical board 0 sits at vendor index 1: the applet comes from [BOARD0], every
// other key from [BOARD1].
TEST(DriverBoard, KeysAfterTheApplet_ComeFromTheVendorIndexSection) {
    ScopedCapture capture;
    Rig rig({Machine(BoardSection(0, 0) + BoardSection(1, 1873, 4)),
             BoardConfiguration(0, "acq.mcf", "dmas=3") + "[BOARD1]\ndmas=1\n",
             {{"acq.mcf", Applet({Dma{}, Dma{}, Dma{}, Dma{}})}}});
    auto board = rig.Board();
    ASSERT_NE(board, nullptr);
    EXPECT_EQ(board->VendorIndex(), 1);
    EXPECT_EQ(board->LogicalNumber(), 0);
    EXPECT_EQ(board->GetChannelCountNoProbe(), 1u);
    EXPECT_FALSE(
        With(capture.target(), "\tBoard = 1\tChecking defined number of DMAs = 1").empty());
}

TEST(DriverBoard, GigE_OpensTheGigEBoard) {
    ScopedCapture capture;
    Rig rig(GigESetup());
    auto board = rig.Board();
    ASSERT_NE(board, nullptr);
    EXPECT_NE(board->GigEBoard(), nullptr);
    EXPECT_EQ(board->PixelDepthReadout(), 0u);
    EXPECT_TRUE(
        InOrder(capture.target(), {"\tBoard = 0\tSetup GigE", "\tBoard = 0\tGigE setup OK"}));

    board.reset();
    EXPECT_TRUE(InOrder(capture.target(),
                        {"\tBoard = 0\tGigE board free done", "\tBoard = 0\tBoard destructed"}));
    EXPECT_EQ(SimCtl_CallCount("Gbe_CloseBoard"), 1);
    EXPECT_EQ(SimCtl_CallCount("Fg_CloseBoard"), 1);
}

TEST(DriverBoard, GigE_OpenFails_WarnsAndTheBoardStaysUsable) {
    ScopedCapture capture;
    Rig rig(GigESetup("[faults]\nGbe_OpenBoard = -3005 once\n"));
    auto board = rig.Board();
    ASSERT_NE(board, nullptr);
    EXPECT_EQ(board->GigEBoard(), nullptr);

    const auto warning = With(capture.target(), "GigE setup error: ");
    ASSERT_EQ(warning.size(), 1u);
    EXPECT_EQ(warning[0].text,
              std::string("\tBoard = 0\tGigE setup error: ") + Gbe_ErrorText(-3005) + "-3005");
    EXPECT_EQ(Where(warning[0]), "warn DriverBoard(474)");
    EXPECT_FALSE(With(capture.target(), "\tBoard = 0\tTechnology specific setup failed.").empty());
    EXPECT_EQ(board->GetChannelCountNoProbe(), 1u);
}

TEST(DriverBoard, UnsupportedTechnology_ErrorDuringTechSetupButUsable) {
    ScopedCapture capture;
    Rig rig({Machine(BoardSection(0, 0, 1)),
             BoardConfiguration(0, "acq.mcf"),
             {{"acq.mcf", Applet({Dma{}})}}});
    bool success = false;
    auto board = std::make_shared<CDriverBoard>(rig.Producer(), L"~idx:0", 0, 0, success);
    EXPECT_TRUE(success);
    const auto error = With(capture.target(), "Error during tech setup");
    ASSERT_EQ(error.size(), 1u);
    EXPECT_EQ(Where(error[0]), "err DriverBoard(449)");
    EXPECT_FALSE(With(capture.target(), "\tBoard = 0\tTechnology specific setup failed.").empty());
}

TEST(DriverBoard, GrabberCloseFails_LogsErrorReleasingBoard) {
    ScopedCapture capture;
    Rig rig(CameraLinkSetup({Dma{}}));
    auto board = rig.Board();
    ASSERT_NE(board, nullptr);
    Fg_Grabber* grabber = board->Grabber();
    ASSERT_EQ(SimCtl_FailCall("Fg_CloseBoard", FG_ERR_INVALID_HANDLE, 1), SIMCTL_OK);
    board.reset();

    const auto error = With(capture.target(), "Error releasing board");
    ASSERT_EQ(error.size(), 1u);
    EXPECT_EQ(Where(error[0]), "err DriverBoard(98)");
    EXPECT_TRUE(InOrder(capture.target(),
                        {"\tBoard = 0\tError releasing board", "\tBoard = 0\tBoard destructed"}));
    // The injected failure left the simulated board open.
    EXPECT_EQ(Fg_CloseBoard(grabber), 0);
}

TEST(DriverBoard, SlotsWithoutBehaviour_ReturnWhatTheyAreGiven) {
    Rig rig(CameraLinkSetup({Dma{}}));
    auto board = rig.Board();
    ASSERT_NE(board, nullptr);
    board->Open(OptionMap(), boost::any());
    std::wstring resolved;
    board->ResolveChannelName(L"~idx:7", resolved);
    EXPECT_EQ(resolved, L"~idx:7");
    std::wstring produced;
    rig.Producer()->ResolveBoardName(L"idx:3", produced);
    EXPECT_EQ(produced, L"idx:3");
}

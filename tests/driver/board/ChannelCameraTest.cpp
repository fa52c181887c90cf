// The camera of a channel's port: GigE and CoaXPress connection in InitChannel,
// disconnection when the channel goes, nothing on Camera Link.
#include "BoardTestSupport.h"

#include "support/ScopedCapture.h"

#include <simctl/SimControl.h>

#include <gtest/gtest.h>

using namespace boardtest;

namespace {

const std::string prefix = "\tBoard = 0 | Channel = 0\t";

Rig::Setup GigESetup(const std::string& port0, const std::string& faults = "") {
    std::string sections = BoardSection(0, 3650, 1, port0.empty() ? "" : "port0 = " + port0 + "\n");
    for (const char* name : {"gcamA", "gcamB"}) {
        if (port0.find(name) != std::string::npos)
            sections += std::string("[camera:") + name + "]\nkind = gige\n\n";
    }
    Rig::Setup setup;
    setup.machine = Machine(sections + faults);
    setup.configuration = BoardConfiguration(0, "acq.mcf");
    setup.files = {{"acq.mcf", Applet({Dma{}})}};
    return setup;
}

Rig::Setup CoaXPressSetup(const std::string& cameras, const std::string& faults = "") {
    std::string sections = BoardSection(0, 1875, 2, "cameras = " + cameras + "\n");
    for (const char* name : {"xcam0", "xcam1"}) {
        if (cameras.find(name) != std::string::npos)
            sections += std::string("[camera:") + name + "]\nkind = cxp\n\n";
    }
    Rig::Setup setup;
    setup.machine = Machine(sections + faults);
    setup.configuration = BoardConfiguration(0, "acq.mcf");
    setup.files = {{"acq.mcf", Applet({Dma{}, Dma{}})}};
    return setup;
}

bool Connected(const char* camera) {
    const int state = SimCtl_CameraState(camera);
    return state >= 0 && (state & SIM_CAMERA_CONNECTED) != 0;
}

} // namespace

TEST(DriverChannelCamera, GigE_OneCamera_ConnectedAndDisconnectedAtTheEnd) {
    ScopedCapture capture;
    Rig rig(GigESetup("gcamA"));
    auto board = rig.Board();
    ASSERT_NE(board, nullptr);
    auto channel = rig.Channel(*board);
    ASSERT_NE(channel, nullptr);
    EXPECT_NE(channel->GigECamera(), nullptr);
    EXPECT_TRUE(Connected("gcamA"));
    EXPECT_TRUE(InOrder(capture.target(), {prefix + "GigE cameras found = 1",
                                           prefix + "Camera connected successfully "}));

    channel.reset();
    EXPECT_FALSE(Connected("gcamA"));
    EXPECT_EQ(SimCtl_CallCount("Gbe_ReleaseCamera"), 1);
    EXPECT_TRUE(InOrder(capture.target(),
                        {prefix + "Disconnected GigE camera", prefix + "Channel destructed"}));
}

TEST(DriverChannelCamera, GigE_TwoCamerasOnThePort_ErrorsAndNoHandle) {
    ScopedCapture capture;
    Rig rig(GigESetup("gcamA, gcamB"));
    auto board = rig.Board();
    ASSERT_NE(board, nullptr);
    auto channel = rig.Channel(*board);
    ASSERT_NE(channel, nullptr);
    EXPECT_EQ(channel->GigECamera(), nullptr);
    EXPECT_EQ(SimCtl_CallCount("Gbe_FirstCamera"), 0);
    EXPECT_FALSE(With(capture.target(), prefix + "GigE cameras found = 2").empty());
    for (const char* text :
         {"Only one camera supported per DMA/port",
          "There seems to be a camera connected however something is wrong here"}) {
        const auto error = With(capture.target(), prefix + text);
        ASSERT_EQ(error.size(), 1u) << text;
        EXPECT_EQ(error[0].level, nwLogging::level_err);
        EXPECT_EQ(error[0].location.rfind("DriverChannel(", 0), 0u);
    }
}

TEST(DriverChannelCamera, GigE_EmptyPort_WarnsNoCameraConnected) {
    ScopedCapture capture;
    Rig rig(GigESetup(""));
    auto board = rig.Board();
    ASSERT_NE(board, nullptr);
    auto channel = rig.Channel(*board);
    ASSERT_NE(channel, nullptr);
    const auto warning = With(
        capture.target(), prefix + "No camera connected, will work if you know what you are doing");
    ASSERT_EQ(warning.size(), 1u);
    EXPECT_EQ(warning[0].level, nwLogging::level_warn);
}

TEST(DriverChannelCamera, GigE_ScanFails_WorksWithoutCamera) {
    ScopedCapture capture;
    Rig rig(GigESetup("gcamA", "[faults]\nGbe_ScanPort = -3006 once\n"));
    auto board = rig.Board();
    ASSERT_NE(board, nullptr);
    auto channel = rig.Channel(*board);
    ASSERT_NE(channel, nullptr);
    EXPECT_EQ(channel->GigECamera(), nullptr);
    EXPECT_TRUE(
        InOrder(capture.target(), {prefix + "No camera found",
                                   prefix + "Will only work if image data is generated this DMA"}));
    EXPECT_EQ(SimCtl_CallCount("Gbe_CameraCount"), 0);
}

TEST(DriverChannelCamera, GigE_ConnectFails_HandleKeptAndStillReleased) {
    ScopedCapture capture;
    Rig rig(GigESetup("gcamA", "[faults]\nGbe_Connect = -3008 once\n"));
    auto board = rig.Board();
    ASSERT_NE(board, nullptr);
    auto channel = rig.Channel(*board);
    ASSERT_NE(channel, nullptr);
    EXPECT_NE(channel->GigECamera(), nullptr);
    const auto error = With(capture.target(), prefix + "Connect error: ");
    ASSERT_EQ(error.size(), 1u);
    EXPECT_EQ(error[0].text, prefix + "Connect error: " + Gbe_ErrorText(-3008));

    channel.reset();
    EXPECT_EQ(SimCtl_CallCount("Gbe_Disconnect"), 1);
    EXPECT_EQ(SimCtl_CallCount("Gbe_ReleaseCamera"), 1);
    EXPECT_FALSE(With(capture.target(), prefix + "Error disconnecting GigE camera").empty());
}

TEST(DriverChannelCamera, CoaXPress_Connected_AndDisconnectedAtTheEnd) {
    ScopedCapture capture;
    Rig rig(CoaXPressSetup("xcam0, xcam1"));
    auto board = rig.Board();
    ASSERT_NE(board, nullptr);
    auto channel = rig.Channel(*board, L"~idx:1");
    ASSERT_NE(channel, nullptr);
    EXPECT_NE(channel->CoaXPressCamera(), nullptr);
    EXPECT_TRUE(Connected("xcam1"));
    EXPECT_FALSE(Connected("xcam0")) << "DMA 1 takes camera 1";
    const std::string p1 = "\tBoard = 0 | Channel = 1\t";
    EXPECT_TRUE(InOrder(capture.target(),
                        {p1 + "GenICam cameras found = 2", p1 + "Camera connected successfully "}));

    channel.reset();
    EXPECT_FALSE(Connected("xcam1"));
    EXPECT_TRUE(InOrder(capture.target(),
                        {p1 + "Disconnected SiSo GenICam camera", p1 + "Channel destructed"}));
}

TEST(DriverChannelCamera, CoaXPress_LinkConnectFailingOnce_ConnectsWithoutError) {
    ScopedCapture capture;
    Rig rig(CoaXPressSetup("xcam0", "[faults]\nSgc_LinkConnect = -4010 once\n"));
    auto board = rig.Board();
    ASSERT_NE(board, nullptr);
    auto channel = rig.Channel(*board);
    ASSERT_NE(channel, nullptr);
    EXPECT_EQ(SimCtl_CallCount("Sgc_LinkConnect"), 2);
    EXPECT_TRUE(Connected("xcam0"));
    for (const CapturedRecord& record : capture->records())
        EXPECT_NE(record.level, nwLogging::level_err) << record.text;
    EXPECT_FALSE(With(capture.target(), prefix + "Camera connected successfully ").empty());
}

TEST(DriverChannelCamera, CoaXPress_LinkConnectFailingTwice_LowLevelError) {
    ScopedCapture capture;
    Rig rig(CoaXPressSetup("xcam0", "[faults]\nSgc_LinkConnect = -4010 x2\n"));
    auto board = rig.Board();
    ASSERT_NE(board, nullptr);
    auto channel = rig.Channel(*board);
    ASSERT_NE(channel, nullptr);
    EXPECT_NE(channel->CoaXPressCamera(), nullptr) << "obtained, not connected";
    EXPECT_EQ(SimCtl_CallCount("Sgc_connectCamera"), 0);
    const auto error = With(capture.target(), prefix + "Low level connect error: ");
    ASSERT_EQ(error.size(), 1u);
    EXPECT_EQ(error[0].text,
              prefix + "Low level connect error: " + GenICam().ErrorText(SGC_ERR_LINK_DOWN));
    EXPECT_EQ(error[0].level, nwLogging::level_err);
}

TEST(DriverChannelCamera, CoaXPress_DmaWithoutCamera_GetCameraError) {
    ScopedCapture capture;
    Rig rig(CoaXPressSetup("xcam0, -"));
    auto board = rig.Board();
    ASSERT_NE(board, nullptr);
    auto channel = rig.Channel(*board, L"~idx:1");
    ASSERT_NE(channel, nullptr);
    EXPECT_EQ(channel->CoaXPressCamera(), nullptr);
    const std::string p1 = "\tBoard = 0 | Channel = 1\t";
    const auto error = With(capture.target(), p1 + "Get  camera error: ");
    ASSERT_EQ(error.size(), 1u);
    EXPECT_EQ(error[0].text,
              p1 + "Get  camera error: " + GenICam().ErrorText(SGC_ERR_NO_SUCH_CAMERA));
}

TEST(DriverChannelCamera, CoaXPress_NoCameraFound_WarnsAndConnectsNothing) {
    ScopedCapture capture;
    Rig::Setup setup = CoaXPressSetup("xcam0");
    setup.configuration += "scan=false\n";
    Rig rig(setup);
    auto board = rig.Board();
    ASSERT_NE(board, nullptr);
    auto channel = rig.Channel(*board);
    ASSERT_NE(channel, nullptr);
    EXPECT_FALSE(With(capture.target(), prefix + "GenICam cameras found = 0").empty());
    EXPECT_FALSE(With(capture.target(),
                      prefix + "No camera connected, will work if you know what you are doing")
                     .empty());
    EXPECT_EQ(SimCtl_CallCount("Sgc_getCameraByIndex"), 0);
}

TEST(DriverChannelCamera, CameraLink_NoCameraLinesAtAll) {
    ScopedCapture capture;
    Rig rig(CameraLinkSetup({Dma{}}));
    auto board = rig.Board();
    ASSERT_NE(board, nullptr);
    auto channel = rig.Channel(*board);
    ASSERT_NE(channel, nullptr);
    channel.reset();
    for (const std::string& text : Texts(capture.target()))
        EXPECT_EQ(text.find("amera"), std::string::npos) << text;
    EXPECT_EQ(SimCtl_CallCount("Gbe_ScanPort"), 0);
    EXPECT_EQ(SimCtl_CallCount("Sgc_getCameraCount"), 0);
}

// A camera whose connection failed once at set-up is connected when the channel
// is asked again (as the start of an acquisition does), with the set-up's lines.
TEST(DriverChannelCamera, ConnectFailedOnce_ConnectedWhenAskedAgain) {
    struct Case {
        Rig::Setup setup;
        const char* camera;
        const char* function;
    };
    for (const Case& c :
         {Case{GigESetup("gcamA", "[faults]\nGbe_Connect = -3008 once\n"), "gcamA", "Gbe_Connect"},
          Case{CoaXPressSetup("xcam0", "[faults]\nSgc_connectCamera = -4010 once\n"), "xcam0",
               "Sgc_connectCamera"}}) {
        SCOPED_TRACE(c.camera);
        ScopedCapture capture;
        Rig rig(c.setup);
        auto board = rig.Board();
        ASSERT_NE(board, nullptr);
        auto channel = rig.Channel(*board);
        ASSERT_NE(channel, nullptr);
        EXPECT_FALSE(Connected(c.camera));

        EXPECT_TRUE(channel->ConnectCameraAgain());
        EXPECT_TRUE(Connected(c.camera));
        EXPECT_EQ(SimCtl_CallCount(c.function), 2);
        EXPECT_EQ(With(capture.target(), prefix + "Connect error: ").size(), 1u);
        EXPECT_TRUE(InOrder(capture.target(), {prefix + "Camera not connected, connecting again",
                                               prefix + "Camera connected successfully "}));
        EXPECT_TRUE(channel->ConnectCameraAgain()) << "connected: nothing more to do";
        EXPECT_EQ(SimCtl_CallCount(c.function), 2);
    }
}

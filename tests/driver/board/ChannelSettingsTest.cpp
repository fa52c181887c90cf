// Channel settings from the DMA's section and the registry: time-out, minimum
// bytes, buffers, plane order, rotation; the channel key and its life.
#include "BoardTestSupport.h"

#include "support/ScopedCapture.h"

#include <gtest/gtest.h>

#include <stdexcept>

using namespace boardtest;

namespace {

std::shared_ptr<CDriverChannel> OpenWith(Rig& rig, std::shared_ptr<CDriverBoard>& board) {
    board = rig.Board();
    return board ? rig.Channel(*board) : nullptr;
}

} // namespace

TEST(DriverChannelSettings, Timeout_FromTheRegistryInWholeSeconds) {
    const std::pair<std::optional<uint32_t>, uint32_t> cases[] = {
        {2500, 2}, {500, 1}, {std::nullopt, 4294967}};
    for (const auto& [milliseconds, seconds] : cases) {
        Rig::Setup setup = CameraLinkSetup({Dma{}});
        setup.defaultTimeout = milliseconds;
        Rig rig(setup);
        std::shared_ptr<CDriverBoard> board;
        auto channel = OpenWith(rig, board);
        ASSERT_NE(channel, nullptr);
        EXPECT_EQ(channel->TimeoutSeconds(), seconds);
    }
}

TEST(DriverChannelSettings, Defaults_OneBufferNoInversionNoRotationWholeImage) {
    ScopedCapture capture;
    Rig rig(CameraLinkSetup({Dma{1024, 1024}}));
    std::shared_ptr<CDriverBoard> board;
    auto channel = OpenWith(rig, board);
    ASSERT_NE(channel, nullptr);
    EXPECT_EQ(channel->MinimumBytes(), 1048576u);
    EXPECT_EQ(channel->NumberOfBuffers(), 1u);
    EXPECT_FALSE(channel->PlaneOrderInverted());
    EXPECT_EQ(channel->RotationCode(), 0u);
    EXPECT_EQ(channel->LockMode(), 0u);
    EXPECT_EQ(channel->GigECamera(), nullptr);
    EXPECT_EQ(channel->CoaXPressCamera(), nullptr);
    EXPECT_TRUE(InOrder(capture.target(), {"\tBoard = 0 | Channel = 0\tBuffers used: 1",
                                           "\tBoard = 0 | Channel = 0\tInvert dimensions = 0",
                                           "\tBoard = 0 | Channel = 0\tRotate image = 0"}));

    // The threshold stays that of the first size.
    uint32_t width = 512, height = 512;
    uint8_t changed = 0;
    ASSERT_EQ(channel->SetImageSize(width, height, changed), 0);
    EXPECT_EQ(channel->MinimumBytes(), 1048576u);
}

TEST(DriverChannelSettings, MinimumBytesAndBuffersFromTheSection) {
    ScopedCapture capture;
    Rig rig(CameraLinkSetup({Dma{}}, "minimumbytes=1000\nframebuffers=268435454\ninvertdim=true"));
    std::shared_ptr<CDriverBoard> board;
    auto channel = OpenWith(rig, board);
    ASSERT_NE(channel, nullptr);
    EXPECT_EQ(channel->MinimumBytes(), 1000u);
    EXPECT_EQ(channel->NumberOfBuffers(), 268435454u);
    EXPECT_TRUE(channel->PlaneOrderInverted());
    EXPECT_TRUE(With(capture.target(), "not in range").empty());
    EXPECT_FALSE(With(capture.target(), "\tInvert dimensions = 1").empty());
}

TEST(DriverChannelSettings, BuffersOutOfRange_WarnAndUseOne) {
    for (const char* value : {"0", "268435455"}) {
        ScopedCapture capture;
        Rig rig(CameraLinkSetup({Dma{}}, std::string("framebuffers=") + value));
        std::shared_ptr<CDriverBoard> board;
        auto channel = OpenWith(rig, board);
        ASSERT_NE(channel, nullptr);
        EXPECT_EQ(channel->NumberOfBuffers(), 1u) << value;
        const auto warning = With(capture.target(), "Defined buffers not in range");
        ASSERT_EQ(warning.size(), 1u) << value;
        EXPECT_EQ(warning[0].text,
                  "\tBoard = 0 | Channel = 0\tDefined buffers not in range, resetting to: 1");
        EXPECT_EQ(warning[0].level, nwLogging::level_warn);
        EXPECT_EQ(warning[0].location.rfind("DriverChannel(", 0), 0u);
        EXPECT_FALSE(With(capture.target(), "\tBuffers used: 1").empty());
    }
}

TEST(DriverChannelSettings, RotationFour_KeptButUnrotated) {
    ScopedCapture capture;
    Rig rig(CameraLinkSetup({Dma{640, 480}}, "RotateImage=4"));
    std::shared_ptr<CDriverBoard> board;
    auto channel = OpenWith(rig, board);
    ASSERT_NE(channel, nullptr);
    EXPECT_EQ(channel->RotationCode(), 4u);
    const ImageLayout layout = channel->Layout();
    EXPECT_EQ(layout.hostWidth, 640u);
    EXPECT_EQ(layout.hostHeight, 480u);
    EXPECT_EQ(layout.startOffset, 0);
    EXPECT_EQ(layout.xIncrement, 1);
    EXPECT_EQ(layout.yIncrement, 640);
    EXPECT_FALSE(With(capture.target(), "\tBoard = 0 | Channel = 0\tRotate image = 4").empty());
}

TEST(DriverChannelSettings, Rotation90OnGray8_ChannelLayout) {
    Rig rig(CameraLinkSetup({Dma{640, 480}}, "RotateImage = 1"));
    std::shared_ptr<CDriverBoard> board;
    auto channel = OpenWith(rig, board);
    ASSERT_NE(channel, nullptr);
    const ImageLayout layout = channel->Layout();
    EXPECT_EQ(layout.hostWidth, 480u);
    EXPECT_EQ(layout.hostHeight, 640u);
    EXPECT_EQ(layout.startOffset, 306560);
    EXPECT_EQ(layout.xIncrement, -640);
    EXPECT_EQ(layout.yIncrement, 1);
    EXPECT_EQ(layout.imageSize, 307200u);
}

TEST(DriverChannelSettings, Color24Inverted_PlanesInReverseOrder) {
    Rig rig(CameraLinkSetup({Dma{8, 4, "color24"}}, "invertdim=true"));
    std::shared_ptr<CDriverBoard> board;
    auto channel = OpenWith(rig, board);
    ASSERT_NE(channel, nullptr);
    const ImageLayout layout = channel->Layout();
    EXPECT_EQ(PlaneOffset(layout, 0), 2);
    EXPECT_EQ(PlaneOffset(layout, 1), 1);
    EXPECT_EQ(PlaneOffset(layout, 2), 0);
}

// The sections are numbered with the vendor board index: logical board 0 at
// vendor index 1 reads [BOARD1_DMA0]; its key combines the logical number.
TEST(DriverChannelSettings, SectionOfTheVendorIndexAndKeyOfTheLogicalNumber) {
    ScopedCapture capture;
    Rig rig({Machine(BoardSection(0, 0) + BoardSection(1, 1873, 2)),
             BoardConfiguration(0, "acq.mcf") + "[BOARD0_DMA1]\nframebuffers=5\n"
                                                "[BOARD1_DMA1]\nframebuffers=7\n",
             {{"acq.mcf", Applet({Dma{}, Dma{}})}}});
    auto board = rig.Board();
    ASSERT_NE(board, nullptr);
    auto channel = rig.Channel(*board, L"~idx:1");
    ASSERT_NE(channel, nullptr);
    EXPECT_EQ(channel->NumberOfBuffers(), 7u);
    EXPECT_EQ(channel->GetChannelKey(), 1u);
    EXPECT_FALSE(With(capture.target(), "\tBoard = 1 | Channel = 1\tBuffers used: 7").empty());
}

TEST(DriverChannelSettings, ChannelKey_LogicalBoardAboveDmaIndex) {
    Rig::Setup setup;
    setup.machine = Machine(BoardSection(0, 1873, 2) + BoardSection(1, 1873, 2));
    setup.configuration = BoardConfiguration(0, "acq.mcf") + BoardConfiguration(1, "acq.mcf");
    setup.files = {{"acq.mcf", Applet({Dma{}, Dma{}})}};
    Rig rig(setup);
    auto board = rig.Board(L"~idx:1");
    ASSERT_NE(board, nullptr);
    auto channel = rig.Channel(*board, L"~idx:1");
    ASSERT_NE(channel, nullptr);
    EXPECT_EQ(channel->GetChannelKey(), 0x10001u);
    std::wstring name;
    channel->GetChannelName(name);
    EXPECT_EQ(name, L"~idx:1");
}

TEST(DriverChannelSettings, InterfaceSettings_ChangeAtomically) {
    Rig rig(CameraLinkSetup({Dma{}}));
    std::shared_ptr<CDriverBoard> board;
    auto channel = OpenWith(rig, board);
    ASSERT_NE(channel, nullptr);
    channel->SetNumberOfBuffers(12);
    channel->SetLockMode(2);
    channel->SetTimeoutSeconds(9);
    EXPECT_EQ(channel->NumberOfBuffers(), 12u);
    EXPECT_EQ(channel->LockMode(), 2u);
    EXPECT_EQ(channel->TimeoutSeconds(), 9u);
}

TEST(DriverChannelSettings, NameWithoutNumber_ConstructsAsDmaZeroButInitThrows) {
    Rig rig(CameraLinkSetup({Dma{}}));
    auto board = rig.Board();
    ASSERT_NE(board, nullptr);
    auto channel = std::make_shared<CDriverChannel>(L"~idx:", board, std::weak_ptr<IDDKRefCnt>());
    EXPECT_EQ(channel->DmaIndex(), 0u);
    EXPECT_THROW(channel->InitChannel(), std::invalid_argument);
    EXPECT_THROW(channel->Open(OptionMap(), boost::any()), std::invalid_argument);
}

TEST(DriverChannelSettings, Destruction_LogsChannelDestructed) {
    ScopedCapture capture;
    Rig rig(CameraLinkSetup({Dma{}}));
    std::shared_ptr<CDriverBoard> board;
    auto channel = OpenWith(rig, board);
    ASSERT_NE(channel, nullptr);
    channel.reset();
    EXPECT_EQ(With(capture.target(), "\tBoard = 0 | Channel = 0\tChannel destructed").size(), 1u);
}

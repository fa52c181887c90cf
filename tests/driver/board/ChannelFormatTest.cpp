// Channel geometry, pixel format table and pixel depth as InitChannel reads them.
#include "BoardTestSupport.h"

#include "support/ScopedCapture.h"

#include <simctl/SimControl.h>

#include <gtest/gtest.h>

using namespace boardtest;

namespace {

struct FormatRow {
    std::string code;
    std::string text; // after the channel prefix
    uint32_t level;
    uint32_t planes;
    uint32_t bits;
    uint32_t bytesPerSample;
    uint32_t bytesPerPixel;
};

class ChannelFormatTable : public testing::TestWithParam<FormatRow> {};

} // namespace

TEST_P(ChannelFormatTable, EachCode_SetsItsRowAndLogsItsText) {
    const FormatRow& row = GetParam();
    ScopedCapture capture;
    Dma dma{64, 32, row.code};
    Rig rig(CameraLinkSetup({dma}));
    auto board = rig.Board();
    ASSERT_NE(board, nullptr);
    auto channel = rig.Channel(*board);
    ASSERT_NE(channel, nullptr);

    EXPECT_EQ(channel->Planes(), row.planes);
    EXPECT_EQ(channel->FormatBits(), row.bits);
    EXPECT_EQ(channel->BytesPerSample(), row.bytesPerSample);
    EXPECT_EQ(channel->BytesPerPixel(), row.bytesPerPixel);
    EXPECT_EQ(channel->PixelDepth(), row.bits);
    const auto lines = With(capture.target(), "\tBoard = 0 | Channel = 0\t" + row.text);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].text, "\tBoard = 0 | Channel = 0\t" + row.text);
    EXPECT_EQ(lines[0].level, row.level);
    if (row.level == nwLogging::level_err) {
        EXPECT_EQ(lines[0].location.rfind("DriverChannel(", 0), 0u);
    }
}

INSTANTIATE_TEST_SUITE_P(
    DriverChannel, ChannelFormatTable,
    testing::Values(
        FormatRow{"3", "Found format:  gray8", nwLogging::level_info, 1, 8, 1, 1},
        FormatRow{"8", "Found format:  binary", nwLogging::level_info, 1, 1, 1, 1},
        FormatRow{"21", "Found format:  gray10", nwLogging::level_info, 1, 10, 2, 2},
        FormatRow{"22", "Found format:  gray12", nwLogging::level_info, 1, 12, 2, 2},
        FormatRow{"1", "Found format:  gray16", nwLogging::level_info, 1, 16, 2, 2},
        FormatRow{"20", "Found format:  gray32", nwLogging::level_info, 1, 32, 4, 4},
        FormatRow{"2", "Found format:  color24", nwLogging::level_info, 3, 8, 1, 3},
        FormatRow{"4", "Found format:  color32", nwLogging::level_info, 1, 8, 1, 4},
        FormatRow{"5",
                  "Found format:  col30, unsupported by ORV. Buffer will be sufficient to hold 16 "
                  "bit",
                  nwLogging::level_err, 3, 10, 1, 2},
        FormatRow{"6", "Found format:  color48", nwLogging::level_info, 3, 16, 2, 6},
        FormatRow{"7", "undefined pixel format(7) guess: FG_GRAY32", nwLogging::level_err, 1, 32, 4,
                  4}));

TEST(DriverChannelFormat, Geometry_IsReadAndLogged) {
    ScopedCapture capture;
    Rig rig(CameraLinkSetup({Dma{1024, 768}}));
    auto board = rig.Board();
    ASSERT_NE(board, nullptr);
    auto channel = rig.Channel(*board);
    ASSERT_NE(channel, nullptr);
    EXPECT_EQ(channel->Width(), 1024u);
    EXPECT_EQ(channel->Height(), 768u);
    EXPECT_TRUE(InOrder(capture.target(), {"\tBoard = 0 | Channel = 0\tConstructor",
                                           "\tBoard = 0 | Channel = 0\tDMA width = 1024",
                                           "\tBoard = 0 | Channel = 0\tDMA height = 768",
                                           "\tBoard = 0 | Channel = 0\tFound format:  gray8"}));
}

// Nothing readable: 16 x 16 and the gray8 layout (one plane, one byte per pixel).
TEST(DriverChannelFormat, NothingReadable_DefaultsTo16By16Gray8) {
    ScopedCapture capture;
    Rig rig(CameraLinkSetup({Dma{100, 50, "gray16"}}));
    auto board = rig.Board();
    ASSERT_NE(board, nullptr);
    ASSERT_EQ(SimCtl_FailCall("Fg_GetParameterTyped", FG_ERR_INVALID_PARAMETER, SIMCTL_ALWAYS),
              SIMCTL_OK);
    auto channel = rig.Channel(*board);
    SimCtl_ClearFaults();
    ASSERT_NE(channel, nullptr);

    EXPECT_EQ(channel->Width(), 16u);
    EXPECT_EQ(channel->Height(), 16u);
    EXPECT_EQ(channel->Planes(), 1u);
    EXPECT_EQ(channel->FormatBits(), 8u);
    EXPECT_EQ(channel->BytesPerSample(), 1u);
    EXPECT_EQ(channel->BytesPerPixel(), 1u);
    EXPECT_EQ(channel->PixelDepth(), 8u);
    EXPECT_EQ(channel->MinimumBytes(), 256u);
    for (const char* text : {"Unable to get reasonable DMA width, reseting default",
                             "Unable to get reasonable DMA height, reseting default"}) {
        const auto lines = With(capture.target(), text);
        ASSERT_EQ(lines.size(), 1u) << text;
        EXPECT_EQ(lines[0].level, nwLogging::level_warn);
        EXPECT_EQ(lines[0].location.rfind("DriverChannel(", 0), 0u);
    }
    const auto format = With(capture.target(), "\tBoard = 0 | Channel = 0\tUnable to get format");
    ASSERT_EQ(format.size(), 1u);
    EXPECT_EQ(format[0].level, nwLogging::level_err);
    EXPECT_EQ(With(capture.target(), "error getting parameter: ").size(), 3u);
    EXPECT_TRUE(With(capture.target(), "Found format").empty());
    EXPECT_TRUE(With(capture.target(), "Pixel depth").empty()) << "no depth step without a format";
}

TEST(DriverChannelFormat, CustomDepth_OnGray16WithoutReadOut) {
    for (int type : {2624, 3650}) {
        ScopedCapture capture;
        Rig::Setup setup = CameraLinkSetup({Dma{64, 32, "gray16"}}, "BitsPerDimension=12", type);
        Rig rig(setup);
        auto board = rig.Board();
        ASSERT_NE(board, nullptr) << type;
        const int64_t before = SimCtl_CallCount("Fg_GetParameterTyped");
        auto channel = rig.Channel(*board);
        ASSERT_NE(channel, nullptr);
        EXPECT_EQ(channel->PixelDepth(), 12u) << type;
        EXPECT_EQ(channel->FormatBits(), 12u) << type;
        EXPECT_EQ(channel->BytesPerPixel(), 2u) << type;
        EXPECT_EQ(SimCtl_CallCount("Fg_GetParameterTyped") - before, 3)
            << "width, height and format only";
        EXPECT_FALSE(
            With(capture.target(), "\tUsing custom pixel depth (BitsPerDimension): 12").empty());
    }
}

TEST(DriverChannelFormat, Me4CameraLink_ReadsTheDepthAndCorrectsAMismatch) {
    ScopedCapture capture;
    Dma dma{64, 32, "gray16", "pixeldepth = 12\n"};
    Rig rig(CameraLinkSetup({dma}, "", 2624));
    auto board = rig.Board();
    ASSERT_NE(board, nullptr);
    auto channel = rig.Channel(*board);
    ASSERT_NE(channel, nullptr);
    EXPECT_EQ(channel->PixelDepth(), 12u);
    EXPECT_EQ(channel->FormatBits(), 12u);
    EXPECT_TRUE(InOrder(capture.target(),
                        {"\tBoard = 0 | Channel = 0\tPixel depth missmatch: correcting to: 12",
                         "\tBoard = 0 | Channel = 0\tReadout pixel depth is: 12"}));
}

TEST(DriverChannelFormat, Me4CameraLink_MatchingDepthOnlyReportsIt) {
    ScopedCapture capture;
    Rig rig(CameraLinkSetup({Dma{64, 32, "gray16"}}, "", 2624));
    auto board = rig.Board();
    ASSERT_NE(board, nullptr);
    auto channel = rig.Channel(*board);
    ASSERT_NE(channel, nullptr);
    EXPECT_EQ(channel->PixelDepth(), 16u);
    EXPECT_TRUE(With(capture.target(), "missmatch").empty());
    EXPECT_FALSE(With(capture.target(), "\tReadout pixel depth is: 16").empty());
}

TEST(DriverChannelFormat, Me5Boards_NeverReadTheDepth) {
    for (int type : {1873, 2648}) {
        ScopedCapture capture;
        Dma dma{64, 32, "gray16", "pixeldepth = 12\n"};
        Rig rig(CameraLinkSetup({dma}, "", type));
        auto board = rig.Board();
        ASSERT_NE(board, nullptr) << type;
        const int64_t before = SimCtl_CallCount("Fg_GetParameterTyped");
        auto channel = rig.Channel(*board);
        ASSERT_NE(channel, nullptr);
        EXPECT_EQ(SimCtl_CallCount("Fg_GetParameterTyped") - before, 3) << type;
        EXPECT_EQ(channel->PixelDepth(), 16u) << "the table's depth stays";
        EXPECT_FALSE(
            With(capture.target(), "\tBoard = 0 | Channel = 0\tPixel depth not used for ME5 series")
                .empty());
    }
}

TEST(DriverChannelFormat, GigE_ReadOutNotSupported) {
    ScopedCapture capture;
    Rig rig(CameraLinkSetup({Dma{64, 32, "gray16", "pixeldepth = 12\n"}}, "", 3650));
    auto board = rig.Board();
    ASSERT_NE(board, nullptr);
    auto channel = rig.Channel(*board);
    ASSERT_NE(channel, nullptr);
    EXPECT_EQ(channel->PixelDepth(), 16u);
    EXPECT_TRUE(InOrder(
        capture.target(),
        {"\tBoard = 0 | Channel = 0\tPixel depth read out is not supported in VA or for: me_4AQ4GE",
         "\tBoard = 0 | Channel = 0\tConsidder setting a custom value in the ini file"}));
}

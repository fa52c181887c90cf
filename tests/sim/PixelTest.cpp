// What the engine writes: pattern bytes per format, offsets, short transfers, clamping to
// the buffer, settings that change the next frames, tags and time stamps.
#include "SimTestSupport.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace simtest;

namespace {

class PixelTest : public ::testing::Test {
protected:
    void SetUp() override { UseMachine(); }

    std::unique_ptr<Board> Open(const std::string& dmaKeys) {
        const std::string path = dir_.Write("applet.ini", "[dma0]\n" + dmaKeys + "\n");
        auto board = std::make_unique<Board>(path, 0);
        EXPECT_TRUE(*board) << Fg_LastErrorText(nullptr);
        return board;
    }

    // Triggers one frame and waits for it.
    static void Grab(const Board& board, Fg_Memory* head, std::int64_t picture) {
        ASSERT_NE(Fg_SoftwareTrigger(board.get(), 0), 0);
        ASSERT_EQ(
            Fg_WaitImage(board.get(), FG_WAIT_PICTURE_NUMBER, picture, 0, PatienceSeconds, head),
            picture);
    }

    template <typename T>
    static T BufferParameter(const Board& board, int id, Fg_Memory* head, std::int64_t number) {
        T value{};
        EXPECT_EQ(Fg_GetBufferParameter(board.get(), id, &value, 0, head, number), 0);
        return value;
    }

    TempDir dir_;
};

TEST_F(PixelTest, MovingGray8_EveryByteFollowsTheDocumentedFormula) {
    auto board = Open("width = 64\nheight = 32\ntrigger = software");
    CustomRing ring(board->get(), 64 * 32, 2);
    ASSERT_EQ(Fg_AcquireEx(board->get(), 0, -1, FG_ACQ_BLOCKING, ring.Head()), 0);
    Acquisition running(board->get(), 0, ring.Head());
    Grab(*board, ring.Head(), 1);
    Grab(*board, ring.Head(), 2);

    for (std::int64_t picture = 1; picture <= 2; ++picture) {
        const std::uint8_t* pixels = ring.Buffer(picture);
        for (unsigned y = 0; y < 32; ++y) {
            for (unsigned x = 0; x < 64; ++x) {
                const auto expected = static_cast<std::uint8_t>((x + 2 * y + picture) & 0xFF);
                ASSERT_EQ(pixels[y * 64 + x], expected) << "x " << x << " y " << y;
                ASSERT_EQ(SimCtl_ExpectedPixelByte(0, 0, x, y, 0, picture), expected);
            }
        }
    }
}

struct FormatCase {
    const char* name;
    int code;
    unsigned bytesPerPixel;
};

class PixelFormatTest : public PixelTest, public ::testing::WithParamInterface<FormatCase> {};

TEST_P(PixelFormatTest, Frame_MatchesPatternWithMasksOffsetsAndPatternOffset) {
    const FormatCase format = GetParam();
    auto board = Open(std::string("width = 40\nheight = 10\nxoffset = 5\nyoffset = 7\n") +
                      "patternoffset = -9\ntrigger = software\nformat = " + format.name);
    ASSERT_EQ(SimCtl_BytesPerPixel(format.code), static_cast<int>(format.bytesPerPixel));
    const std::size_t bytes = 40 * 10 * format.bytesPerPixel;
    CustomRing ring(board->get(), bytes, 1);
    ASSERT_EQ(Fg_AcquireEx(board->get(), 0, -1, FG_ACQ_BLOCKING, ring.Head()), 0);
    Acquisition running(board->get(), 0, ring.Head());
    Grab(*board, ring.Head(), 1);

    SimCtlBufferRecord record{};
    ASSERT_EQ(SimCtl_GetBufferRecord(0, 0, 1, &record), SIMCTL_OK);
    EXPECT_EQ(record.format, static_cast<std::uint32_t>(format.code));
    EXPECT_EQ(record.transferLength, bytes);
    const std::uint8_t* pixels = ring.Buffer(1);
    for (unsigned y = 0; y < 10; ++y) {
        for (unsigned x = 0; x < 40; ++x) {
            for (unsigned k = 0; k < format.bytesPerPixel; ++k) {
                const int expected =
                    SimCtl_PatternByte(SIM_PATTERN_MOVING, format.code, x + 5, y + 7, k, 1, -9);
                ASSERT_EQ(pixels[(y * 40 + x) * format.bytesPerPixel + k], expected)
                    << "x " << x << " y " << y << " k " << k;
                ASSERT_EQ(SimCtl_RecordPixelByte(&record, x, y, k), expected);
            }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    AllFormats, PixelFormatTest,
    ::testing::Values(
        FormatCase{"gray8", FG_FORMAT_GRAY8, 1}, FormatCase{"binary", FG_FORMAT_BINARY, 1},
        FormatCase{"gray10", FG_FORMAT_GRAY10, 2}, FormatCase{"gray12", FG_FORMAT_GRAY12, 2},
        FormatCase{"gray16", FG_FORMAT_GRAY16, 2}, FormatCase{"gray32", FG_FORMAT_GRAY32, 4},
        FormatCase{"color24", FG_FORMAT_COLOR24, 3}, FormatCase{"color32", FG_FORMAT_COLOR32, 4},
        FormatCase{"col30", FG_FORMAT_COL30, 4}, FormatCase{"color48", FG_FORMAT_COLOR48, 6},
        FormatCase{"7", 7, 4}),
    [](const auto& info) { return std::string("code") + std::to_string(info.param.code); });

TEST(PatternFunction, DocumentedValues_ForEveryPatternAndMask) {
    EXPECT_EQ(SimCtl_PatternByte(SIM_PATTERN_MOVING, FG_FORMAT_GRAY8, 10, 20, 1, 5, 0),
              (10 + 40 + 3 + 5) & 0xFF);
    EXPECT_EQ(SimCtl_PatternByte(SIM_PATTERN_MOVING, FG_FORMAT_GRAY8, 250, 0, 0, 10, 0),
              (250 + 10) & 0xFF);
    EXPECT_EQ(SimCtl_PatternByte(SIM_PATTERN_RAMP, FG_FORMAT_GRAY8, 7, 99, 2, 1000, 1), 7 + 6 + 1);
    EXPECT_EQ(SimCtl_PatternByte(SIM_PATTERN_CONSTANT, FG_FORMAT_GRAY8, 1, 2, 0, 3, 0x1234), 0x34);
    EXPECT_EQ(SimCtl_PatternByte(SIM_PATTERN_CHECKER, FG_FORMAT_GRAY8, 8, 0, 0, 0, 0), 255);
    EXPECT_EQ(SimCtl_PatternByte(SIM_PATTERN_CHECKER, FG_FORMAT_GRAY8, 8, 0, 0, 1, 0), 0);
    EXPECT_EQ(SimCtl_PatternByte(SIM_PATTERN_COUNTER, FG_FORMAT_GRAY32, 0, 0, 1, 0x1234, 0), 0x12);
    EXPECT_EQ(SimCtl_PatternByte(SIM_PATTERN_MOVING, FG_FORMAT_GRAY10, 255, 0, 1, 0, 0), 0x02);
    EXPECT_EQ(SimCtl_PatternByte(SIM_PATTERN_MOVING, FG_FORMAT_GRAY12, 255, 0, 1, 0, 0), 0x02);
    EXPECT_EQ(SimCtl_PatternByte(SIM_PATTERN_MOVING, FG_FORMAT_BINARY, 3, 0, 0, 0, 0), 1);
    EXPECT_EQ(SimCtl_PatternByte(SIM_PATTERN_MOVING, FG_FORMAT_COL30, 0, 0, 3, 255, 0),
              (9 + 255) & 0x3F);
    EXPECT_LT(SimCtl_PatternByte(5, FG_FORMAT_GRAY8, 0, 0, 0, 0, 0), 0);
}

TEST_F(PixelTest, CounterPattern_EveryPixelCarriesThePictureNumber) {
    auto board = Open("width = 8\nheight = 2\nformat = gray32\npattern = counter\n"
                      "trigger = software");
    CustomRing ring(board->get(), 8 * 2 * 4, 1);
    ASSERT_EQ(Fg_AcquireEx(board->get(), 0, -1, FG_ACQ_STANDARD, ring.Head()), 0);
    Acquisition running(board->get(), 0, ring.Head());
    for (std::int64_t picture = 1; picture <= 3; ++picture) {
        Grab(*board, ring.Head(), picture);
    }
    std::uint32_t value = 0;
    std::memcpy(&value, ring.Buffer(1) + 4 * 9, sizeof(value));
    EXPECT_EQ(value, 3u);
}

TEST_F(PixelTest, ShortTransfer_WritesOnlyTheConfiguredBytesAndReportsThem) {
    auto board = Open("shorttransfer = 1000\ntrigger = software");
    CustomRing ring(board->get(), 640 * 480, 1);
    ASSERT_EQ(Fg_AcquireEx(board->get(), 0, -1, FG_ACQ_BLOCKING, ring.Head()), 0);
    Acquisition running(board->get(), 0, ring.Head());
    Grab(*board, ring.Head(), 1);

    EXPECT_EQ(BufferParameter<std::uint64_t>(*board, FG_BUFPARAM_TRANSFER_LENGTH, ring.Head(), 1),
              1000u);
    const std::uint8_t* pixels = ring.Buffer(1);
    EXPECT_EQ(pixels[999], SimCtl_ExpectedPixelByte(0, 0, 999 % 640, 999 / 640, 0, 1));
    for (std::size_t i = 1000; i < 640 * 480; ++i) {
        ASSERT_EQ(pixels[i], 0) << "byte " << i << " written beyond the short transfer";
    }
}

TEST_F(PixelTest, BufferSmallerThanImage_TransferIsClampedToTheBuffer) {
    auto board = Open("trigger = software");
    // The registered buffer is the first 1000 bytes of a larger block: nothing may land
    // in the rest.
    std::vector<std::uint8_t> block(4096, 0xAB);
    Fg_Memory* head = Fg_CreateMemoryHead(board->get(), 1000, 1);
    ASSERT_EQ(Fg_AddBuffer(board->get(), block.data(), 1000, 0, head), 0);
    ASSERT_EQ(Fg_AcquireEx(board->get(), 0, -1, FG_ACQ_BLOCKING, head), 0);
    Grab(*board, head, 1);
    ASSERT_EQ(Fg_StopAcquire(board->get(), 0, head, FG_STOP_SYNC), 0);

    EXPECT_EQ(BufferParameter<std::uint64_t>(*board, FG_BUFPARAM_TRANSFER_LENGTH, head, 1), 1000u);
    EXPECT_EQ(block[999], SimCtl_PatternByte(SIM_PATTERN_MOVING, FG_FORMAT_GRAY8, 999 % 640,
                                             999 / 640, 0, 1, 0));
    for (std::size_t i = 1000; i < block.size(); ++i) {
        ASSERT_EQ(block[i], 0xAB) << "byte " << i;
    }
    EXPECT_EQ(Fg_RemoveBuffer(board->get(), head, 0), 0);
    EXPECT_EQ(Fg_FreeMemoryHead(board->get(), head), 0);
}

TEST_F(PixelTest, WidthChangedWhileAcquiring_AppliesToTheNextFrame) {
    auto board = Open("trigger = software");
    CustomRing ring(board->get(), 640 * 480, 2);
    ASSERT_EQ(Fg_AcquireEx(board->get(), 0, -1, FG_ACQ_STANDARD, ring.Head()), 0);
    Acquisition running(board->get(), 0, ring.Head());
    Grab(*board, ring.Head(), 1);

    const std::uint32_t width = 320;
    const std::uint32_t xoffset = 16;
    ASSERT_EQ(Fg_SetParameter(board->get(), FG_PARAM_WIDTH, &width, 0), 0);
    ASSERT_EQ(Fg_SetParameter(board->get(), FG_PARAM_XOFFSET, &xoffset, 0), 0);
    Grab(*board, ring.Head(), 2);

    SimCtlBufferRecord first{};
    SimCtlBufferRecord second{};
    ASSERT_EQ(SimCtl_GetBufferRecord(0, 0, 1, &first), SIMCTL_OK);
    ASSERT_EQ(SimCtl_GetBufferRecord(0, 0, 2, &second), SIMCTL_OK);
    EXPECT_EQ(first.width, 640u);
    EXPECT_EQ(second.width, 320u);
    EXPECT_EQ(second.xoffset, 16u);
    EXPECT_EQ(BufferParameter<std::uint64_t>(*board, FG_BUFPARAM_TRANSFER_LENGTH, ring.Head(), 2),
              320u * 480u);
    EXPECT_EQ(ring.Buffer(2)[320 + 1], (16 + 1 + 2 * 1 + 2) & 0xFF);
}

TEST_F(PixelTest, TagsAndTimeStamps_FollowTheFramesInOrder) {
    auto board = Open("trigger = software");
    CustomRing ring(board->get(), 640 * 480, 3);
    ASSERT_EQ(Fg_AcquireEx(board->get(), 0, -1, FG_ACQ_STANDARD, ring.Head()), 0);
    Acquisition running(board->get(), 0, ring.Head());
    for (std::int64_t picture = 1; picture <= 3; ++picture) {
        Grab(*board, ring.Head(), picture);
    }
    std::uint64_t previous = 0;
    for (std::int64_t b = 1; b <= 3; ++b) {
        const auto tag = BufferParameter<std::uint16_t>(*board, FG_BUFPARAM_TAG, ring.Head(), b);
        const auto stamp64 =
            BufferParameter<std::uint64_t>(*board, FG_BUFPARAM_TIMESTAMP64, ring.Head(), b);
        const auto stamp32 =
            BufferParameter<std::uint32_t>(*board, FG_BUFPARAM_TIMESTAMP32, ring.Head(), b);
        EXPECT_EQ(tag, b);
        EXPECT_GE(stamp64, previous);
        EXPECT_EQ(stamp32, static_cast<std::uint32_t>(stamp64));
        previous = stamp64;
    }
    std::uint64_t value = 0;
    EXPECT_EQ(Fg_GetBufferParameter(board->get(), FG_BUFPARAM_TAG, &value, 0, ring.Head(), 0),
              FG_ERR_INVALID_BUFFER_NUMBER);
    EXPECT_EQ(Fg_GetBufferParameter(board->get(), 22010, &value, 0, ring.Head(), 1),
              FG_ERR_INVALID_PARAMETER);
    EXPECT_EQ(Fg_GetBufferParameter(board->get(), FG_BUFPARAM_TAG, &value, 1, ring.Head(), 1),
              FG_ERR_INVALID_MEMORY);
}

} // namespace

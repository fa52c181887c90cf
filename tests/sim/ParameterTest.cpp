// Applet parameters: untyped and typed access, ranges, the parameter table, error texts and
// the DMA description.
#include "SimTestSupport.h"

#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>

using namespace simtest;

namespace {

class ParameterTest : public ::testing::Test {
protected:
    void SetUp() override {
        UseMachine();
        const std::string path =
            dir_.Write("applet.ini", "[applet]\nname = TestApplet\n"
                                     "[dma0]\nwidth = 1024\nheight = 768\nmaxwidth = 4096\n"
                                     "format = gray16\nframerate = 25.5\n"
                                     "[dma1]\nwidth = 70000\nheight = 2\nmaxwidth = 100000\n");
        board_ = std::make_unique<Board>(path, 0);
        ASSERT_TRUE(*board_) << Fg_LastErrorText(nullptr);
    }

    Fg_Grabber* Grabber() const { return board_->get(); }

    std::string Description(unsigned dma) {
        std::size_t size = 0;
        EXPECT_EQ(Fg_DmaDescription(Grabber(), dma, nullptr, &size), 0);
        std::string text(size, '\0');
        EXPECT_EQ(Fg_DmaDescription(Grabber(), dma, text.data(), &size), 0);
        EXPECT_EQ(size, text.size());
        return text.c_str();
    }

    TempDir dir_;
    std::unique_ptr<Board> board_;
};

TEST_F(ParameterTest, Get_AppletValuesPerDma_IncludingWidthsAbove65535) {
    EXPECT_EQ(Parameter<std::uint32_t>(Grabber(), FG_PARAM_WIDTH, 0), 1024u);
    EXPECT_EQ(Parameter<std::uint32_t>(Grabber(), FG_PARAM_HEIGHT, 0), 768u);
    EXPECT_EQ(Parameter<std::uint32_t>(Grabber(), FG_PARAM_FORMAT, 0),
              static_cast<std::uint32_t>(FG_FORMAT_GRAY16));
    EXPECT_EQ(Parameter<std::uint32_t>(Grabber(), FG_PARAM_PIXELDEPTH, 0), 16u);
    EXPECT_EQ(Parameter<double>(Grabber(), SIM_PARAM_FRAMERATE, 0), 25.5);
    EXPECT_EQ(Parameter<std::uint32_t>(Grabber(), FG_PARAM_WIDTH, 1), 70000u);
    EXPECT_EQ(Parameter<std::uint32_t>(Grabber(), SIM_PARAM_MAXWIDTH, 1), 100000u);
}

TEST_F(ParameterTest, Set_ValueInRange_IsReadBackAndOutOfRangeRefused) {
    const std::uint32_t width = 2000;
    ASSERT_EQ(Fg_SetParameter(Grabber(), FG_PARAM_WIDTH, &width, 0), 0);
    EXPECT_EQ(Parameter<std::uint32_t>(Grabber(), FG_PARAM_WIDTH, 0), 2000u);

    const std::uint32_t tooWide = 4097;
    EXPECT_EQ(Fg_SetParameter(Grabber(), FG_PARAM_WIDTH, &tooWide, 0), FG_ERR_INVALID_VALUE);
    EXPECT_EQ(Parameter<std::uint32_t>(Grabber(), FG_PARAM_WIDTH, 0), 2000u);
    EXPECT_EQ(Fg_LastErrorNumber(Grabber()), FG_ERR_INVALID_VALUE);
    EXPECT_NE(std::string(Fg_LastErrorText(Grabber())).find("FG_WIDTH"), std::string::npos);

    const std::uint32_t zero = 0;
    EXPECT_EQ(Fg_SetParameter(Grabber(), FG_PARAM_HEIGHT, &zero, 0), FG_ERR_INVALID_VALUE);
    const std::uint32_t pattern = 9;
    EXPECT_EQ(Fg_SetParameter(Grabber(), SIM_PARAM_TESTPATTERN, &pattern, 0), FG_ERR_INVALID_VALUE);
    const double rate = -1.0;
    EXPECT_EQ(Fg_SetParameter(Grabber(), SIM_PARAM_FRAMERATE, &rate, 0), FG_ERR_INVALID_VALUE);
}

TEST_F(ParameterTest, Typed_MatchingTypeWorksAndOtherTypesAreRefused) {
    std::uint32_t height = 0;
    EXPECT_EQ(Fg_GetParameterTyped(Grabber(), FG_PARAM_HEIGHT, &height, 0, FG_TYPE_UINT32), 0);
    EXPECT_EQ(height, 768u);
    std::int64_t wide = 0;
    EXPECT_EQ(Fg_GetParameterTyped(Grabber(), FG_PARAM_HEIGHT, &wide, 0, FG_TYPE_INT64),
              FG_ERR_WRONG_TYPE);
    EXPECT_EQ(Fg_GetParameterTyped(Grabber(), FG_PARAM_HEIGHT, &wide, 0, 9), FG_ERR_WRONG_TYPE);

    const double rate = 12.5;
    EXPECT_EQ(Fg_SetParameterTyped(Grabber(), SIM_PARAM_FRAMERATE, &rate, 0, FG_TYPE_DOUBLE), 0);
    double readBack = 0;
    EXPECT_EQ(Fg_GetParameterTyped(Grabber(), SIM_PARAM_FRAMERATE, &readBack, 0, FG_TYPE_DOUBLE),
              0);
    EXPECT_EQ(readBack, 12.5);
    EXPECT_EQ(Fg_SetParameterTyped(Grabber(), SIM_PARAM_FRAMERATE, &rate, 0, FG_TYPE_UINT32),
              FG_ERR_WRONG_TYPE);

    const std::uint64_t shortTransfer = 4096;
    EXPECT_EQ(Fg_SetParameterTyped(Grabber(), SIM_PARAM_SHORT_TRANSFER, &shortTransfer, 0,
                                   FG_TYPE_VALUE8),
              0);
    std::uint64_t back = 0;
    EXPECT_EQ(Fg_GetParameterTyped(Grabber(), SIM_PARAM_SHORT_TRANSFER, &back, 0, FG_TYPE_UINT64),
              0);
    EXPECT_EQ(back, 4096u);
    const std::int32_t offset = -3;
    EXPECT_EQ(Fg_SetParameterTyped(Grabber(), SIM_PARAM_PATTERN_OFFSET, &offset, 0, FG_TYPE_INT32),
              0);
    EXPECT_EQ(Parameter<std::int32_t>(Grabber(), SIM_PARAM_PATTERN_OFFSET, 0), -3);
}

TEST_F(ParameterTest, Access_ReadOnlyWriteOnlyUnknownIdAndDma_AreErrorsWithText) {
    const std::uint32_t value = 1;
    EXPECT_EQ(Fg_SetParameter(Grabber(), SIM_PARAM_MAXWIDTH, &value, 0), FG_ERR_ACCESS_DENIED);
    std::uint32_t out = 0;
    EXPECT_EQ(Fg_GetParameter(Grabber(), SIM_PARAM_SENDSOFTWARETRIGGER, &out, 0),
              FG_ERR_ACCESS_DENIED);
    EXPECT_EQ(Fg_GetParameter(Grabber(), 12345, &out, 0), FG_ERR_INVALID_PARAMETER);
    EXPECT_NE(std::string(Fg_LastErrorText(Grabber())).find("12345"), std::string::npos);
    EXPECT_EQ(Fg_GetParameter(Grabber(), FG_PARAM_WIDTH, &out, 2), FG_ERR_INVALID_DMA);
    EXPECT_EQ(Fg_GetParameter(Grabber(), FG_PARAM_WIDTH, nullptr, 0), FG_ERR_NULL_ARGUMENT);
}

TEST_F(ParameterTest, Table_ListsIdsAndNamesIncludingTheCommonOnes) {
    const int count = Fg_ParameterCount(Grabber());
    ASSERT_GT(count, 0);
    std::set<std::string> names;
    std::set<int> ids;
    for (int i = 0; i < count; ++i) {
        const char* name = Fg_ParameterNameAt(Grabber(), i);
        ASSERT_NE(name, nullptr);
        names.insert(name);
        ids.insert(Fg_ParameterIdAt(Grabber(), i));
    }
    EXPECT_EQ(static_cast<int>(ids.size()), count);
    for (const char* expected : {"FG_WIDTH", "FG_HEIGHT", "FG_XOFFSET", "FG_YOFFSET", "FG_FORMAT",
                                 "FG_PIXELDEPTH", "FG_TIMEOUT", "FG_TRIGGERMODE", "FG_FRAMERATE"}) {
        EXPECT_EQ(names.count(expected), 1u) << expected;
    }
    for (int id : {100, 200, 300, 400, 700, 4000}) {
        EXPECT_EQ(ids.count(id), 1u) << id;
    }
    EXPECT_EQ(Fg_ParameterNameAt(Grabber(), count), nullptr);
    EXPECT_EQ(Fg_ParameterIdAt(Grabber(), -1), FG_ERR_INVALID_ARGUMENT);
}

TEST_F(ParameterTest, ImageCounter_CountsDeliveredImagesSinceOpen) {
    Fg_Memory* memory = Fg_AllocMemory(Grabber(), 1024 * 768 * 2, 1);
    ASSERT_NE(memory, nullptr);
    ASSERT_EQ(Fg_AcquireEx(Grabber(), 0, 2, FG_ACQ_STANDARD, memory), 0);
    ASSERT_EQ(Fg_WaitImage(Grabber(), FG_WAIT_PICTURE_NUMBER, 2, 0, PatienceSeconds, memory), 2);
    ASSERT_EQ(Fg_StopAcquire(Grabber(), 0, memory, FG_STOP_SYNC), 0);
    ASSERT_EQ(Fg_FreeMemory(Grabber(), memory), 0);
    EXPECT_EQ(Parameter<std::int64_t>(Grabber(), SIM_PARAM_IMAGE_COUNTER, 0), 2);
    EXPECT_EQ(Parameter<std::int64_t>(Grabber(), SIM_PARAM_IMAGE_COUNTER, 1), 0);
}

TEST_F(ParameterTest, DmaDescription_SizeFirstThenText_RefusesSmallBuffers) {
    std::size_t size = 0;
    ASSERT_EQ(Fg_DmaDescription(Grabber(), 0, nullptr, &size), 0);
    ASSERT_GT(size, 100u);
    std::string small(size - 1, '\0');
    std::size_t smallSize = small.size();
    EXPECT_EQ(Fg_DmaDescription(Grabber(), 0, small.data(), &smallSize), FG_ERR_BUFFER_TOO_SMALL);
    EXPECT_EQ(smallSize, size);
    std::string text(size, '\0');
    ASSERT_EQ(Fg_DmaDescription(Grabber(), 0, text.data(), &size), 0);
    EXPECT_EQ(text.back(), '\0');
    EXPECT_EQ(text.find("<RegisterDescription"), text.find('<', 5));
    EXPECT_EQ(Fg_DmaDescription(Grabber(), 0, nullptr, nullptr), FG_ERR_NULL_ARGUMENT);
    EXPECT_EQ(Fg_DmaDescription(Grabber(), 5, nullptr, &size), FG_ERR_INVALID_DMA);
}

TEST_F(ParameterTest, DmaDescription_RegistersAtParameterIdsOnThePortOfTheRuntime) {
    const std::string text = Description(0);
    EXPECT_NE(text.find("SchemaMajorVersion=\"1\""), std::string::npos);
    EXPECT_NE(text.find("<Category Name=\"Root\""), std::string::npos);
    EXPECT_NE(text.find("<IntReg Name=\"FG_WIDTH_Reg\""), std::string::npos);
    EXPECT_NE(text.find("<Address>0x64</Address>"), std::string::npos);
    EXPECT_NE(text.find("<Address>0xfa0</Address>"), std::string::npos);
    EXPECT_NE(text.find("<Endianess>LittleEndian</Endianess>"), std::string::npos);
    EXPECT_NE(text.find("ModelName=\"TestApplet_DMA0\""), std::string::npos);
    // Runtime 5.7 grabber descriptions name their port DevicePort.
    EXPECT_NE(text.find("<Port Name=\"DevicePort\""), std::string::npos);
    EXPECT_EQ(text.find("<pPort>Device<"), std::string::npos);
}

TEST(DmaDescriptionOverride, OldStyleFile_IsHandedOutAsItStandsAndOldRuntimeUsesDevice) {
    TempDir dir;
    const std::string oldStyle =
        "<RegisterDescription MajorVersion=\"1.0\"><Port Name=\"Device\"></Port>"
        "<Integer Name=\"A|B\"><Inc>0</Inc></Integer></RegisterDescription>";
    const std::string xmlPath = dir.Write("old.xml", oldStyle);
    UseMachine("[machine]\nruntime = 5.1.2\n[board0]\ntype = 2628\ndmaxml = " + xmlPath + "\n" +
               "[board1]\ntype = 2624\n");
    const std::string applet = dir.Write("applet.ini", "");
    Board overridden(applet, 0);
    ASSERT_TRUE(overridden);
    std::size_t size = 0;
    ASSERT_EQ(Fg_DmaDescription(overridden.get(), 1, nullptr, &size), 0);
    std::string text(size, '\0');
    ASSERT_EQ(Fg_DmaDescription(overridden.get(), 1, text.data(), &size), 0);
    EXPECT_EQ(std::string(text.c_str()), oldStyle);

    Board generated(applet, 1);
    ASSERT_TRUE(generated);
    ASSERT_EQ(Fg_DmaDescription(generated.get(), 0, nullptr, &size), 0);
    text.assign(size, '\0');
    ASSERT_EQ(Fg_DmaDescription(generated.get(), 0, text.data(), &size), 0);
    EXPECT_NE(text.find("<Port Name=\"Device\""), std::string::npos);
}

} // namespace

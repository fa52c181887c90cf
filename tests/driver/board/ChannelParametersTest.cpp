// The channel's SDK parameter operations: size and offset with roll-back, typed
// reads, and the parameter list.
#include "BoardTestSupport.h"

#include "support/ScopedCapture.h"

#include <ORV/ResultCodes.h>

#include <simctl/SimControl.h>

#include <gtest/gtest.h>

#include <cstdio>

using namespace boardtest;

namespace {

class DriverChannelParameters : public testing::Test {
protected:
    void SetUp() override {
        Dma dma{640, 480};
        dma.extra = "maxwidth = 1024\nmaxheight = 1024\n";
        rig_ = std::make_unique<Rig>(CameraLinkSetup({dma}));
        board_ = rig_->Board();
        ASSERT_NE(board_, nullptr);
        channel_ = rig_->Channel(*board_);
        ASSERT_NE(channel_, nullptr);
    }
    void TearDown() override {
        channel_.reset();
        board_.reset();
        rig_.reset();
    }

    uint32_t Sdk(int32_t id) {
        uint32_t value = 0;
        EXPECT_EQ(Fg_GetParameter(board_->Grabber(), id, &value, 0), 0);
        return value;
    }

    ScopedCapture capture_;
    std::unique_ptr<Rig> rig_;
    std::shared_ptr<CDriverBoard> board_;
    std::shared_ptr<CDriverChannel> channel_;
};

} // namespace

TEST_F(DriverChannelParameters, SetImageSize_SameSize_WritesNothing) {
    const int64_t writes = SimCtl_CallCount("Fg_SetParameter");
    uint32_t width = 640, height = 480;
    uint8_t changed = 7;
    EXPECT_EQ(channel_->SetImageSize(width, height, changed), 0);
    EXPECT_EQ(changed, 0);
    EXPECT_EQ(SimCtl_CallCount("Fg_SetParameter"), writes);
}

TEST_F(DriverChannelParameters, SetImageSize_NewSize_WrittenReadBackAndKept) {
    uint32_t width = 320, height = 200;
    uint8_t changed = 0;
    EXPECT_EQ(channel_->SetImageSize(width, height, changed), 0);
    EXPECT_EQ(changed, 1);
    EXPECT_EQ(width, 320u);
    EXPECT_EQ(height, 200u);
    EXPECT_EQ(Sdk(FG_PARAM_WIDTH), 320u);
    EXPECT_EQ(Sdk(FG_PARAM_HEIGHT), 200u);
    EXPECT_EQ(channel_->Width(), 320u);
    EXPECT_EQ(channel_->Height(), 200u);
    EXPECT_EQ(channel_->Layout().imageSize, 64000u);

    uint32_t readWidth = 0, readHeight = 0;
    EXPECT_EQ(channel_->GetImageSize(readWidth, readHeight), 0);
    EXPECT_EQ(readWidth, 320u);
    EXPECT_EQ(readHeight, 200u);
}

TEST_F(DriverChannelParameters, SetImageSize_HeightRefused_RollsTheWidthBack) {
    uint32_t width = 800, height = 5000;
    uint8_t changed = 0;
    EXPECT_EQ(channel_->SetImageSize(width, height, changed), ORV::E_FAIL);
    EXPECT_EQ(changed, 0);
    EXPECT_EQ(Sdk(FG_PARAM_WIDTH), 640u) << "the width written first is put back";
    EXPECT_EQ(Sdk(FG_PARAM_HEIGHT), 480u);
    EXPECT_EQ(channel_->Width(), 640u);
    EXPECT_EQ(channel_->Height(), 480u);
    const auto warning = With(capture_.target(), "error setting parameter: ");
    ASSERT_EQ(warning.size(), 1u);
    EXPECT_EQ(warning[0].level, nwLogging::level_warn);
    EXPECT_EQ(warning[0].location.rfind("DriverChannel(", 0), 0u);
}

TEST_F(DriverChannelParameters, SetImageSize_CurrentSizeUnreadable_Fails) {
    ASSERT_EQ(SimCtl_FailCall("Fg_GetParameterTyped", FG_ERR_INVALID_PARAMETER, 1), SIMCTL_OK);
    uint32_t width = 320, height = 200;
    uint8_t changed = 0;
    EXPECT_EQ(channel_->SetImageSize(width, height, changed), ORV::E_FAIL);
    EXPECT_EQ(Sdk(FG_PARAM_WIDTH), 640u);
    EXPECT_EQ(With(capture_.target(), "error getting parameter: ").size(), 1u);
}

TEST_F(DriverChannelParameters, SetImageOffset_WritesComparesAndRollsBack) {
    uint8_t changed = 0;
    EXPECT_EQ(channel_->SetImageOffset(0, 0, changed), 0);
    EXPECT_EQ(changed, 0);

    EXPECT_EQ(channel_->SetImageOffset(16, 8, changed), 0);
    EXPECT_EQ(changed, 1);
    uint32_t x = 0, y = 0;
    EXPECT_EQ(channel_->GetImageOffset(x, y), 0);
    EXPECT_EQ(x, 16u);
    EXPECT_EQ(y, 8u);

    EXPECT_EQ(channel_->SetImageOffset(32, 2000, changed), ORV::E_FAIL);
    EXPECT_EQ(changed, 0);
    EXPECT_EQ(Sdk(FG_PARAM_XOFFSET), 16u);
    EXPECT_EQ(Sdk(FG_PARAM_YOFFSET), 8u);
}

TEST_F(DriverChannelParameters, GetParameter_Refused_WarnsWithTheSdkText) {
    uint32_t value = 0;
    EXPECT_FALSE(channel_->GetParameter(123456, value));
    const auto warning = With(capture_.target(), "error getting parameter: ");
    ASSERT_EQ(warning.size(), 1u);
    EXPECT_EQ(warning[0].text, std::string("\tBoard = 0 | Channel = 0\terror getting parameter: ") +
                                   Fg_LastErrorText(board_->Grabber()));
    EXPECT_TRUE(channel_->GetParameter(FG_PARAM_FORMAT, value));
    EXPECT_EQ(value, uint32_t{FG_FORMAT_GRAY8});
    EXPECT_TRUE(channel_->SetParameter(FG_PARAM_XOFFSET, 4));
    EXPECT_EQ(Sdk(FG_PARAM_XOFFSET), 4u);
}

TEST_F(DriverChannelParameters, ParameterIdList_HeaderThenOneLinePerParameter) {
    std::string text;
    channel_->GetParameterIdList(text);

    Fg_Grabber* grabber = board_->Grabber();
    std::string expected = "ORV Silicon Software ME-series, Parameter ID List\r\n\r\n"
                           "Function and Type depend on Applet Design.\r\n"
                           "Most of these values will be supported by the NodeMap/GenApi "
                           "interface.\r\n"
                           "Please use the Nodemap/GenApi-Interface.\r\n\r\n"
                           "ID \t ParameterName\r\n\r\n";
    const int count = Fg_ParameterCount(grabber);
    ASSERT_GT(count, 5);
    for (int i = 0; i < count; ++i) {
        char line[4096];
        std::snprintf(line, sizeof line, "%d \t %s\r\n", Fg_ParameterIdAt(grabber, i),
                      Fg_ParameterNameAt(grabber, i));
        expected += line;
    }
    EXPECT_EQ(text, expected);
    EXPECT_NE(text.find("\r\n100 \t "), std::string::npos) << "the width is listed";
    const auto logged = With(capture_.target(), "Parameter ID List");
    ASSERT_EQ(logged.size(), 1u);
    EXPECT_EQ(logged[0].text, "\tBoard = 0 | Channel = 0\t\n" + expected);
    EXPECT_EQ(logged[0].level, nwLogging::level_info);
}

#include <platform/MessageBox.h>

#include "StandardErrorCapture.h"

#include <gtest/gtest.h>

using namespace platform;

namespace {

class MessageBoxTest : public ::testing::Test {
protected:
    void TearDown() override { SetMessageBoxHook(nullptr); }
};

} // namespace

TEST_F(MessageBoxTest, Default_WritesOneLineToStandardErrorAndAnswersOk) {
    platformtest::StandardErrorCapture capture;
    int answer = ShowMessageBox("Parsing error", "INI file, message: bad line 3", kMessageBoxOk);
    EXPECT_EQ(answer, kMessageBoxAnswerOk);
    EXPECT_EQ(capture.Text(), "[Parsing error] INI file, message: bad line 3\n");
}

TEST_F(MessageBoxTest, Default_LineBreaksInText_StayOnOneLine) {
    platformtest::StandardErrorCapture capture;
    ShowMessageBox("Cap\ntion", "first\r\nsecond", kMessageBoxOk);
    EXPECT_EQ(capture.Text(), "[Cap tion] first  second\n");
}

TEST_F(MessageBoxTest, Hook_ReceivesCallsInsteadOfStandardError) {
    platformtest::StandardErrorCapture capture;
    std::string caption, text;
    uint32_t flags = 99;
    SetMessageBoxHook([&](const std::string& c, const std::string& t, uint32_t f) {
        caption = c;
        text = t;
        flags = f;
        return 7;
    });
    EXPECT_EQ(ShowMessageBox("Parsing error", "INI file", kMessageBoxOk), 7);
    EXPECT_EQ(caption, "Parsing error");
    EXPECT_EQ(text, "INI file");
    EXPECT_EQ(flags, kMessageBoxOk);
    EXPECT_EQ(capture.Text(), "");
}

TEST_F(MessageBoxTest, Hook_MayShowAnotherBoxWithoutDeadlock) {
    int depth = 0;
    SetMessageBoxHook([&](const std::string&, const std::string&, uint32_t) {
        if (++depth == 1)
            return ShowMessageBox("inner", "", kMessageBoxOk) + 10;
        return 1;
    });
    EXPECT_EQ(ShowMessageBox("outer", "", kMessageBoxOk), 11);
}

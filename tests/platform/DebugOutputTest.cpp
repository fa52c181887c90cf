#include <platform/DebugOutput.h>

#include <platform/Environment.h>

#include "StandardErrorCapture.h"

#include <gtest/gtest.h>

#include <thread>
#include <vector>

using namespace platform;
using orvtest::ReadFileText;

namespace {

class DebugOutputTest : public ::testing::Test {
protected:
    void TearDown() override {
        SetDebugOutputHook(nullptr);
        UnsetEnv("ORV_DEBUG_OUTPUT_FILE");
    }
    orvtest::TempDir dir_;
};

} // namespace

TEST_F(DebugOutputTest, Default_WritesTextUnchangedToStandardError) {
    platformtest::StandardErrorCapture capture;
    OutputDebugText("Failed to retrieve/decode the log configuration for module GDRVM: x");
    OutputDebugText("\n");
    EXPECT_EQ(capture.Text(),
              "Failed to retrieve/decode the log configuration for module GDRVM: x\n");
}

TEST_F(DebugOutputTest, FileVariable_AppendsEachCallToTheFile) {
    const std::string file = dir_.File("debug.txt");
    orvtest::WriteFileText(file, "earlier\n");
    ASSERT_TRUE(SetEnv("ORV_DEBUG_OUTPUT_FILE", file));
    platformtest::StandardErrorCapture capture;
    OutputDebugText("line one");
    OutputDebugText("\n");
    EXPECT_EQ(ReadFileText(file), "earlier\nline one\n"); // readable while the process runs
    OutputDebugText("line two\n");
    EXPECT_EQ(ReadFileText(file), "earlier\nline one\nline two\n");
    EXPECT_EQ(capture.Text(), "");
}

TEST_F(DebugOutputTest, FileVariable_UnopenableFile_FallsBackToStandardError) {
    ASSERT_TRUE(SetEnv("ORV_DEBUG_OUTPUT_FILE", dir_.File("missing/dir/debug.txt")));
    platformtest::StandardErrorCapture capture;
    OutputDebugText("not lost\n");
    EXPECT_EQ(capture.Text(), "not lost\n");
}

TEST_F(DebugOutputTest, FileVariable_ManyThreads_LoseNoText) {
    const std::string file = dir_.File("debug.txt");
    ASSERT_TRUE(SetEnv("ORV_DEBUG_OUTPUT_FILE", file));
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([t] {
            for (int i = 0; i < 50; ++i)
                OutputDebugText("thread " + std::to_string(t) + " line\n");
        });
    }
    for (std::thread& thread : threads)
        thread.join();
    const std::string text = ReadFileText(file);
    for (int t = 0; t < 4; ++t) {
        const std::string line = "thread " + std::to_string(t) + " line\n";
        size_t count = 0;
        for (size_t at = text.find(line); at != std::string::npos; at = text.find(line, at + 1))
            ++count;
        EXPECT_EQ(count, 50u) << t;
    }
}

TEST_F(DebugOutputTest, Hook_ReceivesTextAndEmptyHookRestoresDefault) {
    // The default here is the file, which both systems write alike.
    const std::string file = dir_.File("debug.txt");
    ASSERT_TRUE(SetEnv("ORV_DEBUG_OUTPUT_FILE", file));
    std::vector<std::string> seen;
    SetDebugOutputHook([&](const std::string& text) { seen.push_back(text); });
    OutputDebugText("to hook");
    SetDebugOutputHook(nullptr);
    OutputDebugText("to the file");
    EXPECT_EQ(seen, std::vector<std::string>{"to hook"});
    EXPECT_EQ(ReadFileText(file), "to the file");
}

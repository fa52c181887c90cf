#include <nwLogging/nwLogging.h>

#include "support/CapturingTarget.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

namespace nw = nwLogging;

TEST(ScopedCapture, InstallsItsTargetAndSetsTheRootMask) {
    ScopedCapture capture(nw::level_fatal | nw::level_err);
    EXPECT_EQ(nw::installed_target_count(), 1u);
    EXPECT_EQ(nw::installed_targets()[0].second, capture.shared());
    EXPECT_EQ(nw::root_logger()->state()->level_mask(), 3u);
}

TEST(ScopedCapture, PutsThePreviousTargetsAndMaskBack) {
    auto previous = std::make_shared<CapturingTarget>();
    nw::install_target(nullptr, previous);
    nw::root_logger()->state()->set_level_mask(nw::level_fatal);
    {
        ScopedCapture capture;
        NWLOG(nw::root_logger(), nw::level_debug, "inside");
        EXPECT_TRUE(capture->contains("inside"));
        EXPECT_EQ(previous->count(), 0u);
    }
    EXPECT_EQ(nw::root_logger()->state()->level_mask(), static_cast<uint32_t>(nw::level_fatal));
    ASSERT_EQ(nw::installed_target_count(), 1u);
    EXPECT_EQ(nw::installed_targets()[0].second, previous);
    NWLOG(nw::root_logger(), nw::level_fatal, "outside");
    EXPECT_TRUE(previous->contains("outside"));
    nw::release_targets();
    nw::root_logger()->state()->set_level_mask(0);
}

TEST(CapturingTarget, KeepsTheFormattedLineAndTheRecordFields) {
    ScopedCapture capture;
    NWLOG_AT(nw::get_logger("Producer"), nw::level_warn, "DriverBoard", 12, "value " << 5);
    const std::optional<CapturedRecord> record = capture->find("value 5");
    ASSERT_TRUE(record.has_value());
    EXPECT_EQ(record->level, static_cast<uint32_t>(nw::level_warn));
    EXPECT_EQ(record->location, "DriverBoard(12)");
    EXPECT_EQ(record->loggerName, nw::get_logger("producer")->full_name());
    EXPECT_EQ(record->text, "value 5");
    nw::basic_timed_msgstate same;
    same.level = record->level;
    same.logger_name = record->loggerName;
    same.timestamp = record->timestamp;
    EXPECT_EQ(record->line, nw::format_line(same, "value 5"));
    EXPECT_EQ(capture->findLine("value 5"), record->line);
    EXPECT_FALSE(capture->findLine("absent").has_value());
}

TEST(CapturingTarget, WaitForLineSeesALineFromAnotherThread) {
    ScopedCapture capture;
    std::thread writer([] { NWLOG(nw::root_logger(), nw::level_info, "late arrival"); });
    EXPECT_TRUE(capture->waitForLine("late arrival"));
    writer.join();
}

TEST(CapturingTarget, WaitForLineGivesUpWhenNothingComes) {
    ScopedCapture capture;
    NWLOG(nw::root_logger(), nw::level_info, "something else");
    EXPECT_FALSE(capture->waitForLine("never logged", std::chrono::milliseconds(1)));
    EXPECT_FALSE(capture->waitForCount(2, std::chrono::milliseconds(1)));
    EXPECT_TRUE(capture->waitForCount(1));
}

TEST(CapturingTarget, ClearForgetsTheRecords) {
    ScopedCapture capture;
    NWLOG(nw::root_logger(), nw::level_info, "one");
    NWLOG(nw::root_logger(), nw::level_info, "two");
    EXPECT_EQ(capture->lines().size(), 2u);
    capture->clear();
    EXPECT_EQ(capture->count(), 0u);
    EXPECT_FALSE(capture->contains("one"));
}

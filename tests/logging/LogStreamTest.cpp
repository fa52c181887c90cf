#include <nwLogging/nwLogging.h>

#include "support/CapturingTarget.h"

#include <boost/date_time/posix_time/posix_time.hpp>

#include "support/ScopedTimeZone.h"
#include <gtest/gtest.h>

#include <optional>

#include <cstdlib>
#include <ctime>
#include <limits>
#include <string>
#include <thread>

namespace nw = nwLogging;
namespace pt = boost::posix_time;

TEST(LogSite, EnabledRecordReachesTheTargetWithLevelTextAndLogger) {
    ScopedCapture capture;
    const nw::logger_ptr logger = nw::get_logger("Producer");
    NWLOG(logger, nw::level_trace, "Startup Producer");
    ASSERT_EQ(capture->count(), 1u);
    const CapturedRecord r = capture->records()[0];
    EXPECT_EQ(r.level, nw::level_trace);
    EXPECT_EQ(r.text, "Startup Producer");
    EXPECT_EQ(r.loggerName, logger->full_name());
    EXPECT_EQ(r.location, "");
    EXPECT_EQ(r.group, nw::no_group);
    EXPECT_EQ(r.groupName, "");
    const std::string tail = " " + logger->full_name() + " [trace] Startup Producer";
    ASSERT_GE(r.line.size(), tail.size());
    EXPECT_EQ(r.line.substr(r.line.size() - tail.size()), tail);
}

TEST(LogSite, PiecesAreStreamedInOrder) {
    ScopedCapture capture;
    const int board = 3;
    NWLOG(nw::root_logger(), nw::level_info,
          "\tBoard = " << board << " | Channel = " << 1u << "\tGrab2: "
                       << "started");
    ASSERT_EQ(capture->count(), 1u);
    EXPECT_EQ(capture->records()[0].text, "\tBoard = 3 | Channel = 1\tGrab2: started");
}

TEST(LogSite, AtMacroSetsFileAndLineAsLocation) {
    ScopedCapture capture;
    NWLOG_AT(nw::root_logger(), nw::level_err, "DriverBoard", 59,
             "MCF = "
                 << "a.mcf");
    ASSERT_EQ(capture->count(), 1u);
    EXPECT_EQ(capture->records()[0].location, "DriverBoard(59)");
    EXPECT_EQ(capture->records()[0].text, "MCF = a.mcf");
}

TEST(LogSite, HereMacroUsesTheCurrentLine) {
    ScopedCapture capture;
    const int line = __LINE__ + 1;
    NWLOG_HERE(nw::root_logger(), nw::level_warn, "DriverChannel", "bad value " << 7);
    ASSERT_EQ(capture->count(), 1u);
    EXPECT_EQ(capture->records()[0].location, "DriverChannel(" + std::to_string(line) + ")");
}

TEST(LogSite, DisabledLevelEvaluatesNoPieces) {
    ScopedCapture capture(nw::level_fatal | nw::level_err);
    int evaluated = 0;
    auto piece = [&] {
        ++evaluated;
        return "x";
    };
    NWLOG(nw::root_logger(), nw::level_warn, piece());
    NWLOG(nw::root_logger(), nw::level_debug, piece());
    EXPECT_EQ(evaluated, 0);
    EXPECT_EQ(capture->count(), 0u);
    NWLOG(nw::root_logger(), nw::level_err, piece());
    EXPECT_EQ(evaluated, 1);
    EXPECT_EQ(capture->count(), 1u);
}

TEST(LogSite, NullLoggerLogsNothing) {
    ScopedCapture capture;
    const nw::logger_ptr none;
    NWLOG(none, nw::level_err, "lost");
    EXPECT_EQ(capture->count(), 0u);
}

TEST(LogSite, MacroIsOneStatement) {
    ScopedCapture capture;
    bool flag = true;
    if (flag)
        NWLOG(nw::root_logger(), nw::level_info, "then");
    else
        NWLOG(nw::root_logger(), nw::level_info, "else");
    EXPECT_TRUE(capture->contains("then"));
    EXPECT_FALSE(capture->contains("else"));
}

TEST(LogStream, StreamClosedWithoutTextEmitsNothing) {
    ScopedCapture capture;
    {
        nw::basic_logstream stream(nw::root_logger());
        stream.set_level(nw::level_err);
        stream.set_location("DriverBoard(1)");
        stream.close();
    }
    EXPECT_EQ(capture->count(), 0u);
}

TEST(LogStream, EmptyStringInsertedEmitsNothing) {
    ScopedCapture capture;
    {
        nw::basic_logstream stream(nw::root_logger());
        stream.set_level(nw::level_err);
        stream << "";
    }
    EXPECT_EQ(capture->count(), 0u);
}

TEST(LogStream, DestructionCompletesTheRecord) {
    ScopedCapture capture;
    {
        nw::basic_logstream stream(nw::root_logger());
        stream.set_level(nw::level_info);
        stream << "pending";
        EXPECT_EQ(capture->count(), 0u);
    }
    EXPECT_EQ(capture->count(), 1u);
    EXPECT_EQ(capture->records()[0].text, "pending");
}

TEST(LogStream, CloseCompletesOnceAndResetsTheState) {
    ScopedCapture capture;
    nw::basic_logstream stream(nw::root_logger());
    stream.set_level(nw::level_err).set_location("DriverBoard(2)").set_group(nw::no_group);
    stream << "first";
    stream.close();
    stream.close();
    ASSERT_EQ(capture->count(), 1u);
    EXPECT_EQ(capture->records()[0].location, "DriverBoard(2)");

    // The level went back to 0, which no mask enables.
    stream << "no level";
    stream.close();
    EXPECT_EQ(capture->count(), 1u);

    stream.set_level(nw::level_info);
    stream << "second";
    stream.close();
    ASSERT_EQ(capture->count(), 2u);
    EXPECT_EQ(capture->records()[1].text, "second");
    EXPECT_EQ(capture->records()[1].location, "");
}

TEST(LogStream, FlushCompletesTheRecord) {
    ScopedCapture capture;
    nw::basic_logstream stream(nw::root_logger());
    stream.set_level(nw::level_info);
    stream << "flushed" << std::flush;
    ASSERT_EQ(capture->count(), 1u);
    EXPECT_EQ(capture->records()[0].text, "flushed");
}

TEST(LogStream, EndlCompletesWithTheLineEndFoldedAway) {
    ScopedCapture capture;
    nw::basic_logstream stream(nw::root_logger());
    stream.set_level(nw::level_info);
    stream << "a" << std::endl;
    ASSERT_EQ(capture->count(), 1u);
    EXPECT_EQ(capture->records()[0].text, "a\n");
    const std::string line = capture->records()[0].line;
    EXPECT_EQ(line.substr(line.size() - 8), "[info] a");
}

TEST(LogStream, TwoLineMessagePrintsOnOneLine) {
    ScopedCapture capture;
    NWLOG(nw::root_logger(), nw::level_err, "a\nb");
    ASSERT_EQ(capture->count(), 1u);
    const std::string line = capture->records()[0].line;
    EXPECT_EQ(line.substr(line.size() - 9), "[err] a b");
}

TEST(LogStream, CompletionRepeatsTheEnabledTest) {
    ScopedCapture capture(nw::level_err);
    {
        nw::basic_logstream stream(nw::root_logger());
        stream.set_level(nw::level_debug);
        stream << "never enabled";
    }
    {
        nw::basic_logstream stream(nw::root_logger());
        stream.set_level(nw::level_err);
        stream << "disabled while built";
        nw::root_logger()->state()->set_level_mask(nw::level_fatal);
    }
    EXPECT_EQ(capture->count(), 0u);
}

TEST(LogStream, LevelOutsideTheSixBitsPrintsUnknwn) {
    ScopedCapture capture(0xFF);
    {
        nw::basic_logstream stream(nw::root_logger());
        stream.set_level(64);
        stream << "odd";
    }
    ASSERT_EQ(capture->count(), 1u);
    EXPECT_NE(capture->records()[0].line.find("[unknwn] odd"), std::string::npos);
}

TEST(LogStream, InsertsTheOrdinaryValueTypes) {
    ScopedCapture capture;
    {
        nw::basic_logstream stream(nw::root_logger());
        stream.set_level(nw::level_info);
        stream << -5 << ' ' << 7u << ' ' << std::numeric_limits<int64_t>::min() << ' '
               << std::numeric_limits<uint64_t>::max() << ' ' << 2.5 << ' ' << true << ' '
               << std::boolalpha << false << ' ' << std::string("s");
    }
    ASSERT_EQ(capture->count(), 1u);
    EXPECT_EQ(capture->records()[0].text,
              "-5 7 -9223372036854775808 18446744073709551615 2.5 1 false s");
}

TEST(LogStream, NullLoggerStreamAcceptsTextAndEmitsNothing) {
    ScopedCapture capture;
    {
        nw::basic_logstream stream(nullptr);
        stream.set_level(nw::level_err);
        stream << "nowhere";
        stream.close();
    }
    EXPECT_EQ(capture->count(), 0u);
}

TEST(LogStream, StreamLeftBadByAFailedInsertionStillStartsAFreshRecord) {
    ScopedCapture capture;
    nw::basic_logstream stream(nw::root_logger());
    stream.set_level(nw::level_info);
    stream.setstate(std::ios::badbit); // as a failed insertion leaves it
    stream << "ignored by a bad stream";
    stream.close();
    stream.set_level(nw::level_info);
    stream << "after";
    stream.close();
    ASSERT_EQ(capture->count(), 1u);
    EXPECT_EQ(capture->records()[0].text, "after");
}

TEST(LogRecord, CarriesTheFullNameOfItsLogger) {
    const nw::logger_ptr root = nw::basic_logger::make_root("GDRVM");
    root->state()->set_level_mask(0xFF);
    ScopedCapture capture;
    NWLOG(root, nw::level_err, "root text");
    NWLOG(root->get_child("Producer"), nw::level_info, "child text");
    ASSERT_EQ(capture->count(), 2u);
    EXPECT_NE(capture->records()[0].line.find(" GDRVM [err] root text"), std::string::npos);
    EXPECT_EQ(capture->records()[1].loggerName, "GDRVM.producer");
    EXPECT_NE(capture->records()[1].line.find(" GDRVM.producer [info] child text"),
              std::string::npos);
}

TEST(LogRecord, RegisteredGroupPrintsItsName) {
    const nw::logger_ptr root = nw::basic_logger::make_root("G");
    root->state()->set_level_mask(0xFF);
    root->state()->register_group(0x4, "acq");
    ScopedCapture capture;
    {
        nw::basic_logstream stream(root);
        stream.set_level(nw::level_warn).set_group(0x4);
        stream << "grouped";
    }
    ASSERT_EQ(capture->count(), 1u);
    EXPECT_EQ(capture->records()[0].group, 0x4u);
    EXPECT_EQ(capture->records()[0].groupName, "acq");
    EXPECT_NE(capture->records()[0].line.find(" G [acq|warn] grouped"), std::string::npos);
}

TEST(LogRecord, MaskedGroupEmitsNothing) {
    const nw::logger_ptr root = nw::basic_logger::make_root("G");
    root->state()->set_level_mask(0xFF);
    root->state()->set_group_mask(0x3);
    ScopedCapture capture;
    {
        nw::basic_logstream stream(root);
        stream.set_level(nw::level_err).set_group(0x4);
        stream << "masked";
    }
    EXPECT_EQ(capture->count(), 0u);
}

TEST(LogRecord, UnregisteredGroupIsShownByItsIdInsteadOfFailing) {
    const nw::logger_ptr root = nw::basic_logger::make_root("G");
    root->state()->set_level_mask(0xFF);
    ScopedCapture capture;
    {
        nw::basic_logstream stream(root);
        stream.set_level(nw::level_err).set_group(0x10);
        stream << "stray";
    }
    ASSERT_EQ(capture->count(), 1u);
    EXPECT_NE(capture->records()[0].line.find(" G [0x10|err] stray"), std::string::npos);
}

TEST(LogRecord, TimestampIsTheLocalTimeOfCompletion) {
    ScopedCapture capture;
    const pt::ptime before = pt::microsec_clock::local_time();
    NWLOG(nw::root_logger(), nw::level_info, "now");
    const pt::ptime after = pt::microsec_clock::local_time();
    ASSERT_EQ(capture->count(), 1u);
    const pt::ptime stamp = capture->records()[0].timestamp;
    EXPECT_LE(before, stamp);
    EXPECT_LE(stamp, after);
    EXPECT_EQ(capture->records()[0].line.substr(0, nw::format_timestamp(stamp).size()),
              nw::format_timestamp(stamp));
}

TEST(LogRecord, TimestampFollowsTheTimeZone) {
    // Half-hour offsets catch a stamp taken in UTC or rounded to whole hours.
    std::optional<orvtest::ScopedTimeZone> zone(std::in_place, "XST-05:30");
    ScopedCapture capture;
    pt::ptime utcBefore, utcAfter;
    // A fresh thread, so nothing cached under the previous zone is reused.
    std::thread([&] {
        utcBefore = pt::microsec_clock::universal_time();
        NWLOG(nw::root_logger(), nw::level_info, "zoned");
        utcAfter = pt::microsec_clock::universal_time();
    }).join();
    zone.reset();
    ASSERT_EQ(capture->count(), 1u);
    const pt::ptime stamp = capture->records()[0].timestamp;
    const pt::time_duration offset = pt::hours(5) + pt::minutes(30);
    EXPECT_LE(utcBefore + offset, stamp);
    EXPECT_LE(stamp, utcAfter + offset);
}

TEST(LogRecord, CarriesTheIdOfTheCompletingThread) {
    ScopedCapture capture;
    NWLOG(nw::root_logger(), nw::level_info, "main 1");
    NWLOG(nw::root_logger(), nw::level_info, "main 2");
    std::thread([] { NWLOG(nw::root_logger(), nw::level_info, "other"); }).join();
    ASSERT_EQ(capture->count(), 3u);
    const auto records = capture->records();
    EXPECT_NE(records[0].threadId, 0u);
    EXPECT_EQ(records[0].threadId, records[1].threadId);
    EXPECT_NE(records[2].threadId, 0u);
    EXPECT_NE(records[2].threadId, records[0].threadId);
}

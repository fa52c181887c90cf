#include <nwLogging/Record.h>

#include <boost/date_time/posix_time/posix_time.hpp>

#include <gtest/gtest.h>

namespace nw = nwLogging;
namespace pt = boost::posix_time;
namespace gr = boost::gregorian;

namespace {

pt::ptime at(int year, int month, int day, int h, int m, int s, int micros = 0) {
    return pt::ptime(gr::date(static_cast<unsigned short>(year), static_cast<unsigned short>(month),
                              static_cast<unsigned short>(day)),
                     pt::hours(h) + pt::minutes(m) + pt::seconds(s) + pt::microseconds(micros));
}

nw::basic_timed_msgstate record(uint32_t level, const std::string& logger, pt::ptime time) {
    nw::basic_timed_msgstate r;
    r.level = level;
    r.logger_name = logger;
    r.timestamp = time;
    return r;
}

const pt::ptime example = at(2021, 3, 3, 8, 5, 7, 125000);

} // namespace

TEST(LineFormat, ErrRecordOfRootPrintsDateTimeNameLevelAndText) {
    EXPECT_EQ(nw::format_line(record(nw::level_err, "GDRVM", example), "Board failed"),
              "2021-Mar-03 08:05:07.125000 GDRVM [err] Board failed");
}

TEST(LineFormat, ZeroMicrosecondsPrintNoFraction) {
    EXPECT_EQ(nw::format_line(record(nw::level_info, "GDRVM", at(2021, 3, 3, 8, 5, 7)), "x"),
              "2021-Mar-03 08:05:07 GDRVM [info] x");
}

TEST(LineFormat, SmallFractionsKeepSixDigits) {
    EXPECT_EQ(nw::format_timestamp(at(2021, 3, 3, 8, 5, 7, 1)), "2021-Mar-03 08:05:07.000001");
    EXPECT_EQ(nw::format_timestamp(at(2021, 3, 3, 8, 5, 7, 999999)), "2021-Mar-03 08:05:07.999999");
}

TEST(LineFormat, EveryMonthHasItsEnglishAbbreviation) {
    const char* names[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                           "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    for (int month = 1; month <= 12; ++month) {
        EXPECT_EQ(nw::format_timestamp(at(2020, month, 9, 23, 59, 58)),
                  std::string("2020-") + names[month - 1] + "-09 23:59:58");
    }
}

TEST(LineFormat, FieldsArePaddedToTheirWidths) {
    EXPECT_EQ(nw::format_timestamp(at(1400, 1, 1, 0, 0, 0)), "1400-Jan-01 00:00:00");
    EXPECT_EQ(nw::format_timestamp(at(2000, 2, 29, 1, 2, 3, 40)), "2000-Feb-29 01:02:03.000040");
}

TEST(LineFormat, SpecialTimesPrintTheirNames) {
    EXPECT_EQ(nw::format_timestamp(pt::ptime(boost::date_time::not_a_date_time)),
              "not-a-date-time");
    EXPECT_EQ(nw::format_timestamp(pt::ptime(boost::date_time::neg_infin)), "-infinity");
    EXPECT_EQ(nw::format_timestamp(pt::ptime(boost::date_time::pos_infin)), "+infinity");
    EXPECT_EQ(nw::format_line(record(nw::level_warn, "GDRVM", pt::ptime()), "t"),
              "not-a-date-time GDRVM [warn] t");
}

TEST(LineFormat, EmptyLoggerNameLeavesOneSpaceBeforeTheBracket) {
    EXPECT_EQ(nw::format_line(record(nw::level_debug, "", example), "t"),
              "2021-Mar-03 08:05:07.125000 [debug] t");
}

TEST(LineFormat, FullLoggerNameIsPrintedAsGiven) {
    EXPECT_EQ(nw::format_line(record(nw::level_trace, "GDRVM.producer", example), "Startup"),
              "2021-Mar-03 08:05:07.125000 GDRVM.producer [trace] Startup");
}

TEST(LineFormat, GroupNameAndBarPrecedeTheLevelWhenTheRecordHasAGroup) {
    nw::basic_timed_msgstate r = record(nw::level_warn, "GDRVM", example);
    r.group = 4;
    r.group_name = "acq";
    EXPECT_EQ(nw::format_line(r, "t"), "2021-Mar-03 08:05:07.125000 GDRVM [acq|warn] t");
}

TEST(LineFormat, RecordWithoutGroupPrintsNoGroupEvenWithAName) {
    nw::basic_timed_msgstate r = record(nw::level_warn, "GDRVM", example);
    r.group_name = "stale";
    EXPECT_EQ(nw::format_line(r, "t"), "2021-Mar-03 08:05:07.125000 GDRVM [warn] t");
}

TEST(LineFormat, UnknownLevelPrintsUnknwn) {
    EXPECT_EQ(nw::format_line(record(64, "GDRVM", example), "t"),
              "2021-Mar-03 08:05:07.125000 GDRVM [unknwn] t");
    EXPECT_EQ(nw::format_line(record(nw::level_err | nw::level_warn, "GDRVM", example), "t"),
              "2021-Mar-03 08:05:07.125000 GDRVM [unknwn] t");
}

TEST(LineFormat, TwoLineMessageBecomesOneLineWithASpaceBeforeEachPart) {
    EXPECT_EQ(nw::format_line(record(nw::level_err, "GDRVM", example), "a\nb"),
              "2021-Mar-03 08:05:07.125000 GDRVM [err] a b");
}

TEST(LineFormat, FinalLineEndAddsNoEmptyLine) {
    const std::string line = nw::format_line(record(nw::level_err, "G", example), "a\n");
    EXPECT_EQ(line, "2021-Mar-03 08:05:07.125000 G [err] a");
}

TEST(LineFormat, EmptyInnerLineKeepsItsSpace) {
    const std::string line = nw::format_line(record(nw::level_err, "G", example), "a\n\nb");
    EXPECT_EQ(line, "2021-Mar-03 08:05:07.125000 G [err] a  b");
}

TEST(LineFormat, CarriageReturnBeforeLineEndIsPartOfTheLineEnd) {
    const std::string line = nw::format_line(record(nw::level_err, "G", example), "a\r\nb\r\n");
    EXPECT_EQ(line, "2021-Mar-03 08:05:07.125000 G [err] a b");
    EXPECT_EQ(line.find('\r'), std::string::npos);
    EXPECT_EQ(line.find('\n'), std::string::npos);
}

TEST(LineFormat, TabsOfTheDriverContextStayInTheText) {
    EXPECT_EQ(nw::format_line(record(nw::level_info, "GDRVM", example), "\tBoard = 0\tOpened"),
              "2021-Mar-03 08:05:07.125000 GDRVM [info] \tBoard = 0\tOpened");
}

TEST(LineFormat, EmptyTextEndsAtTheBracket) {
    EXPECT_EQ(nw::format_line(record(nw::level_info, "GDRVM", example), ""),
              "2021-Mar-03 08:05:07.125000 GDRVM [info]");
}

TEST(LineFormat, AppendLineKeepsWhatTheBufferAlreadyHolds) {
    std::string out = "previous|";
    nw::append_line(out, record(nw::level_err, "GDRVM", example), "x");
    EXPECT_EQ(out, "previous|2021-Mar-03 08:05:07.125000 GDRVM [err] x");
    std::string stamp = ">";
    nw::append_timestamp(stamp, at(2021, 3, 3, 8, 5, 7));
    EXPECT_EQ(stamp, ">2021-Mar-03 08:05:07");
}

TEST(LineFormat, AgreesWithBoostsOwnFormatterOverManyTimes) {
    // Boost prints the same date and time fields; only the fraction rule differs.
    pt::ptime t = at(1999, 12, 31, 23, 59, 59, 999999);
    for (int i = 0; i < 2000; ++i) {
        t += pt::hours(13) + pt::minutes(7) + pt::seconds(11) + pt::microseconds(i * 997 % 1000000);
        std::string expected = pt::to_simple_string(t);
        if (t.time_of_day().fractional_seconds() == 0)
            expected = expected.substr(0, expected.find('.'));
        ASSERT_EQ(nw::format_timestamp(t), expected);
    }
}

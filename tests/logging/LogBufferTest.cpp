// The log stream's buffer: text of any length, piece by piece, and records one
// after another on one stream, each with its own text only.
#include <nwLogging/nwLogging.h>

#include "support/CapturingTarget.h"
#include "support/ScopedCapture.h"

#include <gtest/gtest.h>

#include <string>

namespace nw = nwLogging;

TEST(LogBuffer, TextLongerThanTheFirstStorage_ArrivesWhole) {
    ScopedCapture capture;
    std::string expected;
    {
        nw::basic_logstream stream(nw::get_logger("Buffer"));
        stream.set_level(nw::level_info);
        for (int i = 0; i < 2000; ++i) {
            stream << i << ',';
            expected += std::to_string(i) + ",";
        }
    }
    ASSERT_EQ(capture->count(), 1u);
    EXPECT_EQ(capture->records()[0].text, expected);
}

TEST(LogBuffer, CharacterByCharacterAndOneLargePiece) {
    ScopedCapture capture;
    const std::string large(5000, 'L');
    {
        nw::basic_logstream stream(nw::get_logger("Buffer"));
        stream.set_level(nw::level_info);
        for (char c : std::string("abc"))
            stream.put(c);
        stream << large << std::string("\0z", 2);
    }
    ASSERT_EQ(capture->count(), 1u);
    EXPECT_EQ(capture->records()[0].text, "abc" + large + std::string("\0z", 2));
}

TEST(LogBuffer, RecordsOnOneStream_EachWithItsOwnText) {
    ScopedCapture capture;
    nw::basic_logstream stream(nw::get_logger("Buffer"));
    stream.set_level(nw::level_info);
    stream << std::string(600, 'x');
    stream.close();
    stream.set_level(nw::level_info);
    stream << "short";
    stream.close();
    stream.set_level(nw::level_info);
    stream << std::string(300, 'y') << 7;
    stream.close();
    stream.set_level(nw::level_debug);
    stream.close(); // nothing streamed: no record
    ASSERT_EQ(capture->count(), 3u);
    EXPECT_EQ(capture->records()[0].text, std::string(600, 'x'));
    EXPECT_EQ(capture->records()[1].text, "short");
    EXPECT_EQ(capture->records()[2].text, std::string(300, 'y') + "7");
}

TEST(LogBuffer, DisabledRecordIsDiscarded_TheNextStartsEmpty) {
    ScopedCapture capture(nw::level_err);
    nw::basic_logstream stream(nw::get_logger("Buffer"));
    stream.set_level(nw::level_debug);
    stream << "not enabled";
    stream.close();
    stream.set_level(nw::level_err);
    stream << "enabled";
    stream.close();
    ASSERT_EQ(capture->count(), 1u);
    EXPECT_EQ(capture->records()[0].text, "enabled");
}

// The words of a log configuration set, the error type they raise, and the
// level bits and names the level words stand for.
#include <nwLogging/Levels.h>
#include <nwLogging/LogConfigWords.h>
#include <nwLogging/LogSvcError.h>

#include <gtest/gtest.h>

#include <string>

namespace nw = nwLogging;

namespace {

template <class F> std::string ErrorText(F&& f) {
    try {
        f();
    } catch (const nw::LogSvcError& e) {
        return e.what();
    }
    return "<no LogSvcError>";
}

} // namespace

TEST(LogSvcError, WithoutText_ReportsUnknownException) {
    EXPECT_STREQ(nw::LogSvcError().what(), "Unknown exception");
    EXPECT_STREQ(nw::LogSvcError("").what(), "Unknown exception");
    EXPECT_STREQ(nw::LogSvcError("Shared memory error").what(), "Shared memory error");
    EXPECT_EQ(nw::LogSvcError("x").message(), "x");
}

TEST(DestinationWords, EachWordHasItsCode) {
    EXPECT_EQ(nw::parse_destination("none"), nw::destination::none);
    EXPECT_EQ(nw::parse_destination("file"), nw::destination::file);
    EXPECT_EQ(nw::parse_destination("cout"), nw::destination::cout);
    EXPECT_EQ(nw::parse_destination("cerr"), nw::destination::cerr);
    EXPECT_EQ(nw::parse_destination("trace"), nw::destination::trace);
    EXPECT_EQ(nw::parse_destination("console"), nw::destination::console);
    EXPECT_EQ(nw::parse_destination("evtlog"), nw::destination::evtlog);
    EXPECT_EQ(nw::parse_destination("logsvc"), nw::destination::logsvc);
    EXPECT_EQ(static_cast<uint32_t>(nw::destination::file), 1u);
    EXPECT_EQ(static_cast<uint32_t>(nw::destination::evtlog), 6u);
    EXPECT_EQ(static_cast<uint32_t>(nw::destination::logsvc), 7u);
}

TEST(DestinationWords, OtherWordsAreRefusedByName) {
    EXPECT_EQ(ErrorText([] { nw::parse_destination("File"); }),
              "Unknown log destination specified: File");
    EXPECT_EQ(ErrorText([] { nw::parse_destination(" file"); }),
              "Unknown log destination specified:  file");
    EXPECT_EQ(ErrorText([] { nw::parse_destination(""); }), "Unknown log destination specified: ");
    EXPECT_EQ(ErrorText([] { nw::parse_destination("syslog"); }),
              "Unknown log destination specified: syslog");
}

TEST(LevelWords, NamedWordsGiveTheirMasks) {
    EXPECT_EQ(nw::parse_level_mask("none"), 0u);
    EXPECT_EQ(nw::parse_level_mask("fatal"), 1u);
    EXPECT_EQ(nw::parse_level_mask("err"), 3u);
    EXPECT_EQ(nw::parse_level_mask("error"), 3u);
    EXPECT_EQ(nw::parse_level_mask("warn"), 7u);
    EXPECT_EQ(nw::parse_level_mask("warning"), 7u);
    EXPECT_EQ(nw::parse_level_mask("info"), 15u);
    EXPECT_EQ(nw::parse_level_mask("trace"), 31u);
    EXPECT_EQ(nw::parse_level_mask("debug"), 63u);
    EXPECT_EQ(nw::parse_level_mask("all"), 255u);
}

TEST(LevelWords, HexadecimalWordsGiveTheirValue) {
    EXPECT_EQ(nw::parse_level_mask("0x1F"), 31u);
    EXPECT_EQ(nw::parse_level_mask("0X1f"), 31u);
    EXPECT_EQ(nw::parse_level_mask("0x0"), 0u);
    EXPECT_EQ(nw::parse_level_mask("0x000000001F"), 31u) << "leading zeros are harmless";
    EXPECT_EQ(nw::parse_level_mask("0xFFFFFFFE"), 0xFFFFFFFEu);
    EXPECT_EQ(nw::parse_level_mask("0xabcdef"), 0xABCDEFu);
}

TEST(LevelWords, MalformedOrAllOnesHexadecimalWordsAreRefused) {
    for (const char* word : {"0x", "0X", "0xZZ", "0x1G", "0xFFFFFFFF", "0xffffffff", "0x1FFFFFFFF",
                             "0x-1", "0x 1F", "0x1F ", "x1F", "00x1F"}) {
        EXPECT_EQ(ErrorText([&] { nw::parse_level_mask(word); }),
                  std::string("Unknown log level specified: ") + word)
            << word;
    }
}

TEST(LevelWords, OtherWordsAreRefusedByName) {
    for (const char* word : {"Info", "INFO", "31", "", "debug ", "warnings"}) {
        EXPECT_EQ(ErrorText([&] { nw::parse_level_mask(word); }),
                  std::string("Unknown log level specified: ") + word)
            << word;
    }
}

// The level bits, their names and the words above name the same levels.
TEST(LevelName, EachLevelBitHasItsName) {
    EXPECT_STREQ(nw::level_name(nw::level_fatal), "fatal");
    EXPECT_STREQ(nw::level_name(nw::level_err), "err");
    EXPECT_STREQ(nw::level_name(nw::level_warn), "warn");
    EXPECT_STREQ(nw::level_name(nw::level_info), "info");
    EXPECT_STREQ(nw::level_name(nw::level_trace), "trace");
    EXPECT_STREQ(nw::level_name(nw::level_debug), "debug");
}

TEST(LevelName, AnyOtherValueIsUnknwn) {
    for (uint32_t value : {0u, 3u, 7u, 64u, 128u, 255u, 0x80000000u, 0xFFFFFFFFu})
        EXPECT_STREQ(nw::level_name(value), "unknwn") << value;
}

TEST(LevelName, BitValuesAreTheDocumentedOnes) {
    EXPECT_EQ(nw::level_fatal, 1u);
    EXPECT_EQ(nw::level_err, 2u);
    EXPECT_EQ(nw::level_warn, 4u);
    EXPECT_EQ(nw::level_info, 8u);
    EXPECT_EQ(nw::level_trace, 16u);
    EXPECT_EQ(nw::level_debug, 32u);
    EXPECT_EQ(nw::no_group, ~uint64_t{0});
}

TEST(BooleanWords, TrueAndFalseWords) {
    for (const char* word : {"true", "on", "enabled", "1"})
        EXPECT_TRUE(nw::parse_boolean(word)) << word;
    for (const char* word : {"false", "off", "disabled", "0"})
        EXPECT_FALSE(nw::parse_boolean(word)) << word;
}

TEST(BooleanWords, OtherWordsAreRefusedByName) {
    for (const char* word : {"yes", "True", "ON", "", "2", "no"}) {
        EXPECT_EQ(ErrorText([&] { nw::parse_boolean(word); }),
                  std::string("Unrecognized boolean value string specified: ") + word)
            << word;
    }
}

#include <nwLogging/Levels.h>

#include <gtest/gtest.h>

namespace nw = nwLogging;

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

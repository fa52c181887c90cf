#include <platform/SocketLibrary.h>

#include <gtest/gtest.h>

using namespace platform;

TEST(SocketLibraryTest, Startup_GrantsTheLowerOfRequestedAnd22) {
    uint16_t granted = 0;
    ASSERT_EQ(SocketStartup(kSocketVersion22, &granted), kSocketOk);
    EXPECT_EQ(granted, kSocketVersion22);
    ASSERT_EQ(SocketStartup(SocketVersion(3, 0), &granted), kSocketOk);
    EXPECT_EQ(granted, kSocketVersion22);
    ASSERT_EQ(SocketStartup(SocketVersion(2, 9), &granted), kSocketOk);
    EXPECT_EQ(granted, kSocketVersion22);
    ASSERT_EQ(SocketStartup(SocketVersion(1, 1), &granted), kSocketOk);
    EXPECT_EQ(granted, SocketVersion(1, 1));
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(SocketCleanup(), kSocketOk);
}

TEST(SocketLibraryTest, Startup_BelowOne_IsRefused) {
    uint16_t granted = 0;
    EXPECT_EQ(SocketStartup(SocketVersion(0, 9), &granted), kSocketVersionNotSupported);
    EXPECT_EQ(SocketStartup(kSocketVersion22, nullptr), kSocketInvalidArgument);
    EXPECT_EQ(SocketCleanup(), kSocketNotInitialised); // refused start-ups count for nothing
}

TEST(SocketLibraryTest, Cleanup_MoreThanStarted_IsNotInitialised) {
    uint16_t granted = 0;
    ASSERT_EQ(SocketStartup(kSocketVersion22, &granted), kSocketOk);
    ASSERT_EQ(SocketStartup(kSocketVersion22, &granted), kSocketOk);
    EXPECT_EQ(SocketCleanup(), kSocketOk);
    EXPECT_EQ(SocketCleanup(), kSocketOk);
    EXPECT_EQ(SocketCleanup(), kSocketNotInitialised);
}

TEST(SocketLibraryTest, SocketLibrary_Destruction_CleansUpOnce) {
    {
        int32_t result = -1;
        uint16_t granted = 0;
        SocketLibrary library = SocketLibrary::Start(kSocketVersion22, &granted, &result);
        EXPECT_EQ(result, kSocketOk);
        EXPECT_EQ(granted, kSocketVersion22);
        EXPECT_TRUE(library);
        SocketLibrary moved = std::move(library);
        EXPECT_FALSE(library);
        EXPECT_TRUE(moved);
    }
    EXPECT_EQ(SocketCleanup(), kSocketNotInitialised);
}

TEST(SocketLibraryTest, SocketLibrary_RefusedStart_CleansNothingUp) {
    uint16_t granted = 0;
    ASSERT_EQ(SocketStartup(kSocketVersion22, &granted), kSocketOk);
    {
        int32_t result = 0;
        SocketLibrary refused = SocketLibrary::Start(SocketVersion(0, 1), nullptr, &result);
        EXPECT_EQ(result, kSocketVersionNotSupported);
        EXPECT_FALSE(refused);
    }
    EXPECT_EQ(SocketCleanup(), kSocketOk); // the earlier start-up is still there
}

#include <platform/Environment.h>

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <thread>
#include <vector>

using namespace platform;

namespace {

const char* const kName = "ORV_PLATFORM_TEST_VARIABLE";

// The system's number for a bad argument: Windows' or errno's.
#ifdef _WIN32
constexpr uint32_t kInvalidArgument = 87; // ERROR_INVALID_PARAMETER
#else
constexpr uint32_t kInvalidArgument = EINVAL;
#endif

class EnvironmentTest : public ::testing::Test {
protected:
    void TearDown() override { UnsetEnv(kName); }
};

} // namespace

TEST_F(EnvironmentTest, ReadEnv_SetVariable_CopiesValueWithTerminator) {
    ASSERT_TRUE(SetEnv(kName, "C:\\Data\\"));
    char buffer[32];
    std::memset(buffer, 'x', sizeof buffer);
    EnvReadResult result = ReadEnv(kName, buffer, sizeof buffer);
    EXPECT_EQ(result.status, EnvStatus::Ok);
    EXPECT_EQ(result.length, 8u);
    EXPECT_STREQ(buffer, "C:\\Data\\");
}

TEST_F(EnvironmentTest, ReadEnv_MissingVariable_IsNotFound) {
    char buffer[16];
    EXPECT_EQ(ReadEnv(kName, buffer, sizeof buffer).status, EnvStatus::NotFound);
}

TEST_F(EnvironmentTest, ReadEnv_ValueFillingBufferExactly_Fits) {
    // 255 characters and the terminator fill a 256-byte buffer: still accepted.
    ASSERT_TRUE(SetEnv(kName, std::string(255, 'a')));
    std::vector<char> buffer(256);
    EnvReadResult result = ReadEnv(kName, buffer.data(), buffer.size());
    EXPECT_EQ(result.status, EnvStatus::Ok);
    EXPECT_EQ(result.length, 255u);
    EXPECT_EQ(std::string(buffer.data()), std::string(255, 'a'));
}

TEST_F(EnvironmentTest, ReadEnv_ValueOneTooLong_ReportsNeededSizeAndLeavesBufferAlone) {
    ASSERT_TRUE(SetEnv(kName, std::string(256, 'a')));
    std::vector<char> buffer(256, 'x');
    EnvReadResult result = ReadEnv(kName, buffer.data(), buffer.size());
    EXPECT_EQ(result.status, EnvStatus::TooLarge);
    EXPECT_EQ(result.length, 257u);
    EXPECT_EQ(std::string(buffer.begin(), buffer.end()), std::string(256, 'x'));
}

TEST_F(EnvironmentTest, ReadEnv_NullBufferOfSizeZero_AsksForSize) {
    ASSERT_TRUE(SetEnv(kName, "abc"));
    EnvReadResult result = ReadEnv(kName, nullptr, 0);
    EXPECT_EQ(result.status, EnvStatus::TooLarge);
    EXPECT_EQ(result.length, 4u);
}

TEST_F(EnvironmentTest, ReadEnv_InvalidNameOrBuffer_IsErrorWithCode) {
    char buffer[8];
    EnvReadResult empty = ReadEnv("", buffer, sizeof buffer);
    EXPECT_EQ(empty.status, EnvStatus::Error);
    EXPECT_EQ(empty.errorCode, kInvalidArgument);
    EXPECT_EQ(ReadEnv("A=B", buffer, sizeof buffer).status, EnvStatus::Error);
    EXPECT_EQ(ReadEnv(kName, nullptr, 8).status, EnvStatus::Error);
}

TEST_F(EnvironmentTest, SetEnv_EmptyValue_IsSetNotMissing) {
    ASSERT_TRUE(SetEnv(kName, ""));
    std::optional<std::string> value = GetEnv(kName);
    ASSERT_TRUE(value.has_value());
    EXPECT_EQ(*value, "");
}

TEST_F(EnvironmentTest, UnsetEnv_RemovesVariable) {
    ASSERT_TRUE(SetEnv(kName, "1"));
    ASSERT_TRUE(UnsetEnv(kName));
    EXPECT_FALSE(GetEnv(kName).has_value());
}

TEST_F(EnvironmentTest, SetEnv_InvalidNames_AreRefused) {
    EXPECT_FALSE(SetEnv("", "x"));
    EXPECT_FALSE(SetEnv("A=B", "x"));
    EXPECT_FALSE(UnsetEnv(""));
}

TEST_F(EnvironmentTest, Environment_WritersAndReadersOnManyThreads_ReadWholeValues) {
    const std::string first(100, 'a');
    const std::string second(200, 'b');
    ASSERT_TRUE(SetEnv(kName, first));
    std::vector<std::thread> threads;
    std::vector<int> bad(4, 0);
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([&, t] {
            for (int i = 0; i < 500; ++i) {
                if (t % 2 == 0) {
                    SetEnv(kName, i % 2 ? first : second);
                } else {
                    std::optional<std::string> value = GetEnv(kName);
                    if (!value || (*value != first && *value != second))
                        ++bad[t];
                }
            }
        });
    }
    for (std::thread& thread : threads)
        thread.join();
    for (int count : bad)
        EXPECT_EQ(count, 0);
}

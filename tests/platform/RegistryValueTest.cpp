#include "RegistryTestFixture.h"

#include <vector>

using namespace platform;
using namespace platform::registry;
using platformtest::RegistryTest;

namespace {

class RegistryValueTest : public RegistryTest {
protected:
    void SetUp() override {
        RegistryTest::SetUp();
        ASSERT_EQ(CreateKey(Hive::LocalMachine, "Software\\Orvento\\Pictora\\Nordwell",
                            KEY_ALL_ACCESS, key_.out()),
                  ERROR_SUCCESS);
    }

    std::string ReadString(const std::string& name, int32_t* result = nullptr) {
        std::vector<char> buffer(4096);
        uint32_t size = static_cast<uint32_t>(buffer.size());
        int32_t code = QueryString(key_.get(), name, buffer.data(), &size);
        if (result != nullptr)
            *result = code;
        return code == ERROR_SUCCESS ? std::string(buffer.data(), size - 1) : std::string();
    }

    ScopedKey key_;
};

} // namespace

TEST_F(RegistryValueTest, String_RoundTrip) {
    ASSERT_EQ(
        SetString(key_.get(), "OR ORSisoMe Driver INI-File", "$(ORVDATA)\\Drivers\\ORSisoMe.ini"),
        ERROR_SUCCESS);
    EXPECT_EQ(ReadString("OR ORSisoMe Driver INI-File"), "$(ORVDATA)\\Drivers\\ORSisoMe.ini");
}

TEST_F(RegistryValueTest, QueryString_BufferSizes_FollowTheSizeProtocol) {
    ASSERT_EQ(SetString(key_.get(), "Path", "abcdef"), ERROR_SUCCESS);
    uint32_t size = 0;
    EXPECT_EQ(QueryString(key_.get(), "Path", nullptr, &size), ERROR_SUCCESS);
    EXPECT_EQ(size, 7u);

    char small[6] = {'x', 'x', 'x', 'x', 'x', 'x'};
    size = sizeof small;
    EXPECT_EQ(QueryString(key_.get(), "Path", small, &size), ERROR_MORE_DATA);
    EXPECT_EQ(size, 7u);
    EXPECT_EQ(std::string(small, sizeof small), "xxxxxx");

    char exact[7];
    size = sizeof exact;
    EXPECT_EQ(QueryString(key_.get(), "Path", exact, &size), ERROR_SUCCESS);
    EXPECT_EQ(size, 7u);
    EXPECT_STREQ(exact, "abcdef");
}

TEST_F(RegistryValueTest, Dword_RoundTripIncludingExtremes) {
    for (uint32_t value : {0u, 10u, 10000u, 0xFFFFFFFFu}) {
        ASSERT_EQ(SetDword(key_.get(), "Default Timeout", value), ERROR_SUCCESS);
        uint32_t read = 1;
        EXPECT_EQ(QueryDword(key_.get(), "Default Timeout", &read), ERROR_SUCCESS);
        EXPECT_EQ(read, value);
    }
    if (StoreIsAFile()) {
        EXPECT_NE(StoreText().find("\"Default Timeout\"=dword:ffffffff"), std::string::npos);
    }
}

TEST_F(RegistryValueTest, WrongType_IsUnsupportedBothWays) {
    ASSERT_EQ(SetString(key_.get(), "Text", "10"), ERROR_SUCCESS);
    ASSERT_EQ(SetDword(key_.get(), "Number", 10), ERROR_SUCCESS);
    uint32_t value = 7;
    EXPECT_EQ(QueryDword(key_.get(), "Text", &value), ERROR_UNSUPPORTED_TYPE);
    EXPECT_EQ(value, 7u);
    int32_t result = 0;
    ReadString("Number", &result);
    EXPECT_EQ(result, ERROR_UNSUPPORTED_TYPE);
}

TEST_F(RegistryValueTest, SetValue_OtherType_ReplacesValue) {
    ASSERT_EQ(SetString(key_.get(), "Value", "text"), ERROR_SUCCESS);
    ASSERT_EQ(SetDword(key_.get(), "Value", 3), ERROR_SUCCESS);
    uint32_t value = 0;
    EXPECT_EQ(QueryDword(key_.get(), "Value", &value), ERROR_SUCCESS);
    EXPECT_EQ(value, 3u);
}

TEST_F(RegistryValueTest, Names_AreCaseInsensitiveAndKeepFirstSpelling) {
    ASSERT_EQ(SetDword(key_.get(), "Default Timeout", 1), ERROR_SUCCESS);
    ASSERT_EQ(SetDword(key_.get(), "DEFAULT TIMEOUT", 2), ERROR_SUCCESS);
    uint32_t value = 0;
    EXPECT_EQ(QueryDword(key_.get(), "default timeout", &value), ERROR_SUCCESS);
    EXPECT_EQ(value, 2u);
    if (!StoreIsAFile())
        return;
    const std::string text = StoreText();
    EXPECT_NE(text.find("\"Default Timeout\"=dword:00000002"), std::string::npos) << text;
    EXPECT_EQ(text.find("DEFAULT"), std::string::npos) << text;
}

TEST_F(RegistryValueTest, DeleteValue_RemovesOnlyThatValue) {
    ASSERT_EQ(SetDword(key_.get(), "A", 1), ERROR_SUCCESS);
    ASSERT_EQ(SetDword(key_.get(), "B", 2), ERROR_SUCCESS);
    EXPECT_EQ(DeleteValue(key_.get(), "a"), ERROR_SUCCESS);
    uint32_t value = 0;
    EXPECT_EQ(QueryDword(key_.get(), "A", &value), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(QueryDword(key_.get(), "B", &value), ERROR_SUCCESS);
    EXPECT_EQ(DeleteValue(key_.get(), "A"), ERROR_FILE_NOT_FOUND);
}

TEST_F(RegistryValueTest, Escaping_AwkwardTextsSurviveAndStayOnOneLine) {
    const std::vector<std::string> texts = {
        "quote \" inside",          "C:\\path\\with\\backslashes\\",
        "two\nlines\r\nand\ttab",   std::string("nul\0byte", 8),
        "\x01\x1b[31m\x7f control", "ends with backslash \\",
        "\"=sz:\"fake\"",           "[HKLM\\Software\\Injected]",
        "caf\xc3\xa9 UTF-8",        "",
    };
    for (size_t i = 0; i < texts.size(); ++i)
        ASSERT_EQ(SetString(key_.get(), "v" + std::to_string(i), texts[i]), ERROR_SUCCESS);
    ASSERT_EQ(SetString(key_.get(), "name \"with\" quotes\\\n", "n"), ERROR_SUCCESS);
    for (size_t i = 0; i < texts.size(); ++i)
        EXPECT_EQ(ReadString("v" + std::to_string(i)), texts[i]) << i;
    EXPECT_EQ(ReadString("name \"with\" quotes\\\n"), "n");
    if (!StoreIsAFile())
        return;

    // No text broke the file's structure: one section, one line per value.
    const std::string text = StoreText();
    size_t valueLines = 0;
    size_t sections = 0;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        std::string line = text.substr(start, end - start);
        valueLines += !line.empty() && line[0] == '"';
        sections += !line.empty() && line[0] == '[';
        start = end + 1;
    }
    EXPECT_EQ(valueLines, texts.size() + 1);
    EXPECT_EQ(sections, 1u);
}

#include "RegistryTestFixture.h"

#include <filesystem>

using namespace platform;
using namespace platform::registry;
using platformtest::RegistryTest;

namespace {

const char* const kProductKey = "Software\\Orvento\\Pictora\\";

} // namespace

TEST_F(RegistryTest, StorePath_FollowsOverrideThenXdgThenHome) {
    const std::optional<std::string> home = GetEnv("HOME");
    const std::optional<std::string> xdg = GetEnv("XDG_CONFIG_HOME");
    EXPECT_EQ(StorePath(), StoreFile());
    UnsetEnv("ORV_REGISTRY_FILE");
    SetEnv("XDG_CONFIG_HOME", "/xdg/config");
    SetEnv("HOME", "/home/someone");
    EXPECT_EQ(StorePath(), "/xdg/config/orvento/registry.ini");
    SetEnv("XDG_CONFIG_HOME", "relative/config"); // not absolute: ignored
    EXPECT_EQ(StorePath(), "/home/someone/.config/orvento/registry.ini");
    UnsetEnv("XDG_CONFIG_HOME");
    EXPECT_EQ(StorePath(), "/home/someone/.config/orvento/registry.ini");
    home ? SetEnv("HOME", *home) : UnsetEnv("HOME");
    xdg ? SetEnv("XDG_CONFIG_HOME", *xdg) : UnsetEnv("XDG_CONFIG_HOME");
}

TEST_F(RegistryTest, OpenKey_NoStoreFile_IsNotFoundAndCreatesNothing) {
    KeyHandle key = reinterpret_cast<KeyHandle>(0x1);
    EXPECT_EQ(OpenKey(Hive::LocalMachine, kProductKey, KEY_READ, &key), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(key, nullptr);
    EXPECT_FALSE(std::filesystem::exists(StoreFile()));
}

TEST_F(RegistryTest, CreateKey_MissingDirectories_CreatesStoreAndParents) {
    ScopedKey key;
    ASSERT_EQ(
        CreateKey(Hive::LocalMachine, "Software\\Orvento\\Pictora\\Nordwell", KEY_WRITE, key.out()),
        ERROR_SUCCESS);
    EXPECT_TRUE(std::filesystem::exists(StoreFile()));
    for (const char* parent : {"Software", "Software\\Orvento", kProductKey}) {
        ScopedKey opened;
        EXPECT_EQ(OpenKey(Hive::LocalMachine, parent, KEY_READ, opened.out()), ERROR_SUCCESS)
            << parent;
    }
}

TEST_F(RegistryTest, OpenKey_DifferentCase_FindsKeyAndStoreKeepsOriginalCase) {
    ScopedKey created;
    ASSERT_EQ(
        CreateKey(Hive::LocalMachine, "Software\\Orvento\\Pictora", KEY_ALL_ACCESS, created.out()),
        ERROR_SUCCESS);
    ScopedKey opened;
    ASSERT_EQ(
        OpenKey(Hive::LocalMachine, "SOFTWARE\\orvento\\PICTORA", KEY_ALL_ACCESS, opened.out()),
        ERROR_SUCCESS);
    ASSERT_EQ(SetDword(opened.get(), "Default Timeout", 500), ERROR_SUCCESS);
    uint32_t value = 0;
    EXPECT_EQ(QueryDword(created.get(), "Default Timeout", &value), ERROR_SUCCESS);
    EXPECT_EQ(value, 500u);
    if (!StoreIsAFile())
        return;
    const std::string text = StoreText();
    EXPECT_NE(text.find("[HKLM\\Software\\Orvento\\Pictora]"), std::string::npos) << text;
    EXPECT_EQ(text.find("SOFTWARE"), std::string::npos) << text;
}

TEST_F(RegistryTest, CreateKey_ChildInOtherCase_TakesParentsStoredSpelling) {
    ScopedKey parent;
    ASSERT_EQ(CreateKey(Hive::LocalMachine, "Software\\Orvento", KEY_READ, parent.out()),
              ERROR_SUCCESS);
    ScopedKey child;
    ASSERT_EQ(CreateKey(Hive::LocalMachine, "software\\ORVENTO\\Pictora", KEY_READ, child.out()),
              ERROR_SUCCESS);
    ScopedKey opened;
    EXPECT_EQ(OpenKey(Hive::LocalMachine, "Software\\Orvento\\Pictora", KEY_READ, opened.out()),
              ERROR_SUCCESS)
        << "one key, whichever spelling made it";
    if (StoreIsAFile()) {
        EXPECT_NE(StoreText().find("[HKLM\\Software\\Orvento\\Pictora]"), std::string::npos)
            << StoreText();
    }
}

TEST_F(RegistryTest, CreateKey_ExistingKey_DoesNotRewriteStore) {
    ScopedKey first;
    ASSERT_EQ(CreateKey(Hive::LocalMachine, kProductKey, KEY_READ, first.out()), ERROR_SUCCESS);
    const std::string before = StoreText();
    ScopedKey second;
    ASSERT_EQ(
        CreateKey(Hive::LocalMachine, "\\software\\\\orvento\\pictora", KEY_READ, second.out()),
        ERROR_SUCCESS);
    EXPECT_EQ(StoreText(), before);
}

TEST_F(RegistryTest, Hives_AreSeparate) {
    ScopedKey machine;
    ASSERT_EQ(CreateKey(Hive::LocalMachine, kProductKey, KEY_ALL_ACCESS, machine.out()),
              ERROR_SUCCESS);
    ASSERT_EQ(SetDword(machine.get(), "Default Timeout", 1), ERROR_SUCCESS);
    ScopedKey user;
    EXPECT_EQ(OpenKey(Hive::CurrentUser, kProductKey, KEY_READ, user.out()), ERROR_FILE_NOT_FOUND);
    ASSERT_EQ(CreateKey(Hive::CurrentUser, kProductKey, KEY_ALL_ACCESS, user.out()), ERROR_SUCCESS);
    uint32_t value = 0;
    EXPECT_EQ(QueryDword(user.get(), "Default Timeout", &value), ERROR_FILE_NOT_FOUND);
}

TEST_F(RegistryTest, HiveRoot_AlwaysOpens) {
    ScopedKey root;
    EXPECT_EQ(OpenKey(Hive::CurrentUser, "", KEY_READ, root.out()), ERROR_SUCCESS);
    EXPECT_NE(root.get(), nullptr);
}

TEST_F(RegistryTest, AccessMask_ReadOnlyKey_CannotWrite) {
    ScopedKey created;
    ASSERT_EQ(CreateKey(Hive::LocalMachine, kProductKey, KEY_QUERY_VALUE, created.out()),
              ERROR_SUCCESS);
    EXPECT_EQ(SetString(created.get(), "Name", "x"), ERROR_ACCESS_DENIED);
    EXPECT_EQ(SetDword(created.get(), "Name", 1), ERROR_ACCESS_DENIED);
    EXPECT_EQ(DeleteValue(created.get(), "Name"), ERROR_ACCESS_DENIED);
    ScopedKey readKey;
    ASSERT_EQ(OpenKey(Hive::LocalMachine, kProductKey, KEY_READ, readKey.out()), ERROR_SUCCESS);
    EXPECT_EQ(SetDword(readKey.get(), "Name", 1), ERROR_ACCESS_DENIED);
    EXPECT_EQ(StoreText().find("Name"), std::string::npos);
}

TEST_F(RegistryTest, AccessMask_SetValueOnlyKey_CannotRead) {
    ScopedKey writer;
    ASSERT_EQ(CreateKey(Hive::LocalMachine, kProductKey, KEY_SET_VALUE, writer.out()),
              ERROR_SUCCESS);
    ASSERT_EQ(SetDword(writer.get(), "Default Timeout", 2500), ERROR_SUCCESS);
    uint32_t value = 0;
    EXPECT_EQ(QueryDword(writer.get(), "Default Timeout", &value), ERROR_ACCESS_DENIED);
    char buffer[8];
    uint32_t size = sizeof buffer;
    EXPECT_EQ(QueryString(writer.get(), "Default Timeout", buffer, &size), ERROR_ACCESS_DENIED);
    ScopedKey writeKey;
    ASSERT_EQ(OpenKey(Hive::LocalMachine, kProductKey, KEY_WRITE, writeKey.out()), ERROR_SUCCESS);
    EXPECT_EQ(SetDword(writeKey.get(), "Default Timeout", 2600), ERROR_SUCCESS);
}

TEST_F(RegistryTest, Handles_NullOrClosed_AreInvalid) {
    uint32_t value = 0;
    EXPECT_EQ(QueryDword(nullptr, "x", &value), ERROR_INVALID_HANDLE);
    EXPECT_EQ(CloseKey(nullptr), ERROR_INVALID_HANDLE);
    KeyHandle key = nullptr;
    ASSERT_EQ(CreateKey(Hive::LocalMachine, kProductKey, KEY_ALL_ACCESS, &key), ERROR_SUCCESS);
    EXPECT_EQ(CloseKey(key), ERROR_SUCCESS);
    EXPECT_EQ(QueryDword(key, "x", &value), ERROR_INVALID_HANDLE);
    EXPECT_EQ(SetDword(key, "x", 1), ERROR_INVALID_HANDLE);
    EXPECT_EQ(CloseKey(key), ERROR_INVALID_HANDLE);
}

TEST_F(RegistryTest, Arguments_NullOutputs_AreInvalidParameter) {
    EXPECT_EQ(OpenKey(Hive::LocalMachine, kProductKey, KEY_READ, nullptr), ERROR_INVALID_PARAMETER);
    EXPECT_EQ(CreateKey(Hive::LocalMachine, kProductKey, KEY_READ, nullptr),
              ERROR_INVALID_PARAMETER);
    ScopedKey key;
    ASSERT_EQ(CreateKey(Hive::LocalMachine, kProductKey, KEY_ALL_ACCESS, key.out()), ERROR_SUCCESS);
    ASSERT_EQ(SetDword(key.get(), "n", 1), ERROR_SUCCESS);
    EXPECT_EQ(QueryDword(key.get(), "n", nullptr), ERROR_INVALID_PARAMETER);
    char buffer[4];
    EXPECT_EQ(QueryString(key.get(), "n", buffer, nullptr), ERROR_INVALID_PARAMETER);
}

TEST_F(RegistryTest, CreateKey_NameWithLineBreak_IsRefused) {
    ScopedKey key;
    EXPECT_EQ(CreateKey(Hive::LocalMachine, "Software\\Bad\nName", KEY_READ, key.out()),
              ERROR_INVALID_PARAMETER);
    EXPECT_EQ(OpenKey(Hive::LocalMachine, "Software\\Bad\nName", KEY_READ, key.out()),
              ERROR_FILE_NOT_FOUND);
    EXPECT_FALSE(std::filesystem::exists(StoreFile()));
}

TEST_F(RegistryTest, ScopedKey_Destruction_ClosesKey) {
    KeyHandle raw = nullptr;
    {
        ScopedKey key;
        ASSERT_EQ(CreateKey(Hive::LocalMachine, kProductKey, KEY_READ, key.out()), ERROR_SUCCESS);
        raw = key.get();
    }
    EXPECT_EQ(CloseKey(raw), ERROR_INVALID_HANDLE);
}

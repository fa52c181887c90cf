// Opening the product's registry key through the utilities library, on a
// temporary registry file.

#include <ORCUtilities/ORCUtilities.h>
#include <platform/Registry.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

namespace registry = platform::registry;

namespace {

// On Windows support/win32/RegistrySandbox.cpp gives the program a registry
// branch of its own instead.
#ifndef _WIN32
/// Points the registry at a fresh temporary file for the whole program.
class RegistryFileEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        char path[] = "/tmp/orv-host-registry-XXXXXX";
        const int descriptor = mkstemp(path);
        ASSERT_GE(descriptor, 0);
        close(descriptor);
        std::remove(path); // the store creates it
        path_ = path;
        setenv("ORV_REGISTRY_FILE", path_.c_str(), 1);
    }
    void TearDown() override { std::remove(path_.c_str()); }

private:
    std::string path_;
};

const auto* const environment = ::testing::AddGlobalTestEnvironment(new RegistryFileEnvironment);
#endif

void SetDword(const std::string& path, const std::string& name, uint32_t value) {
    registry::ScopedKey key;
    ASSERT_EQ(registry::CreateKey(registry::Hive::LocalMachine, path, registry::KEY_ALL_ACCESS,
                                  key.out()),
              registry::ERROR_SUCCESS);
    ASSERT_EQ(registry::SetDword(key.get(), name, value), registry::ERROR_SUCCESS);
}

TEST(ProductKey, EmptySubKey_OpensTheProductKeyItself) {
    SetDword("Software\\Orvento\\Pictora", "Default Timeout", 500);
    registry::ScopedKey key;
    ASSERT_EQ(ORCUtilities_OpenProductKey("", registry::KEY_READ, key.out(), nullptr), 0);
    uint32_t value = 0;
    ASSERT_EQ(registry::QueryDword(key.get(), "Default Timeout", &value), 0);
    EXPECT_EQ(value, 500u);
}

TEST(ProductKey, NullSubKey_IsTheEmptySubKey) {
    SetDword("Software\\Orvento\\Pictora", "Null Sub Key", 3);
    registry::ScopedKey key;
    ASSERT_EQ(ORCUtilities_OpenProductKey(nullptr, registry::KEY_READ, key.out(), nullptr), 0);
    uint32_t value = 0;
    ASSERT_EQ(registry::QueryDword(key.get(), "Null Sub Key", &value), 0);
    EXPECT_EQ(value, 3u);
}

TEST(ProductKey, SubKey_OpensBelowTheProductKey) {
    SetDword("Software\\Orvento\\Pictora\\SiliconSoftware", "Marker", 7);
    registry::ScopedKey key;
    ASSERT_EQ(
        ORCUtilities_OpenProductKey("SiliconSoftware", registry::KEY_READ, key.out(), nullptr), 0);
    uint32_t value = 0;
    ASSERT_EQ(registry::QueryDword(key.get(), "Marker", &value), 0);
    EXPECT_EQ(value, 7u);
}

TEST(ProductKey, MissingSubKey_AnswersTheRegistrysCode) {
    registry::KeyHandle key = reinterpret_cast<registry::KeyHandle>(1);
    EXPECT_EQ(ORCUtilities_OpenProductKey("NoSuchVendor", registry::KEY_READ, &key, nullptr),
              registry::ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(key, nullptr);
}

TEST(ProductKey, OtherHive_IsNotTheProductKey) {
    registry::ScopedKey user;
    ASSERT_EQ(registry::CreateKey(registry::Hive::CurrentUser,
                                  "Software\\Orvento\\Pictora\\UserOnly", registry::KEY_ALL_ACCESS,
                                  user.out()),
              0);
    registry::KeyHandle key = nullptr;
    EXPECT_EQ(ORCUtilities_OpenProductKey("UserOnly", registry::KEY_READ, &key, nullptr),
              registry::ERROR_FILE_NOT_FOUND);
}

TEST(ProductKey, NullKeyPointer_Fails) {
    EXPECT_NE(ORCUtilities_OpenProductKey("", registry::KEY_READ, nullptr, nullptr), 0);
}

} // namespace

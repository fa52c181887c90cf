// Every test program on Windows keeps the registry to itself: CTest runs each
// test in a process of its own, and this process's HKEY_LOCAL_MACHINE and
// HKEY_CURRENT_USER are keys of a fresh branch below
// HKEY_CURRENT_USER\Software\OrventoTests, removed at the end. The module and
// the host libraries in the process see the same keys, and no two tests running
// at once share a value. (On POSIX the tests point ORV_REGISTRY_FILE at a file
// of their own instead.)
#include "support/win32/LeanWindows.h"

#include <gtest/gtest.h>

#include <string>

namespace {

class RegistrySandbox : public ::testing::Environment {
public:
    void SetUp() override {
        branch_ = "Software\\OrventoTests\\" + std::to_string(::GetCurrentProcessId()) + "-" +
                  std::to_string(::GetTickCount64());
        Override(HKEY_LOCAL_MACHINE, "LocalMachine", &machine_);
        Override(HKEY_CURRENT_USER, "CurrentUser", &user_);
    }

    void TearDown() override {
        ::RegOverridePredefKey(HKEY_LOCAL_MACHINE, nullptr);
        ::RegOverridePredefKey(HKEY_CURRENT_USER, nullptr);
        Close(&machine_);
        Close(&user_);
        ::RegDeleteTreeA(HKEY_CURRENT_USER, branch_.c_str());
    }

private:
    void Override(HKEY root, const char* name, HKEY* key) {
        const std::string path = branch_ + "\\" + name;
        // Made through the real HKEY_CURRENT_USER, before it is overridden.
        ASSERT_EQ(::RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                                    nullptr, key, nullptr),
                  ERROR_SUCCESS)
            << path;
        ASSERT_EQ(::RegOverridePredefKey(root, *key), ERROR_SUCCESS) << name;
    }

    static void Close(HKEY* key) {
        if (*key != nullptr)
            ::RegCloseKey(*key);
        *key = nullptr;
    }

    std::string branch_;
    HKEY machine_ = nullptr;
    HKEY user_ = nullptr;
};

const ::testing::Environment* const g_sandbox =
    ::testing::AddGlobalTestEnvironment(new RegistrySandbox);

} // namespace

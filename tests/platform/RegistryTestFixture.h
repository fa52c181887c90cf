#pragma once
// Points the registry store at a file of a fresh temporary directory.

#include <platform/Environment.h>
#include <platform/Registry.h>

#include "support/TempDir.h"

#include <gtest/gtest.h>

namespace platformtest {

class RegistryTest : public ::testing::Test {
protected:
    void SetUp() override {
        storePath_ = dir_.File("config/orvento/registry.ini");
        ASSERT_TRUE(platform::SetEnv("ORV_REGISTRY_FILE", storePath_));
    }
    void TearDown() override { platform::UnsetEnv("ORV_REGISTRY_FILE"); }

    const std::string& StoreFile() const { return storePath_; }
    std::string StoreText() const { return orvtest::ReadFileText(storePath_); }
    /// POSIX keeps the registry in our file store; Windows has the system's.
    static bool StoreIsAFile() { return !platform::registry::StorePath().empty(); }

    orvtest::TempDir dir_;
    std::string storePath_;
};

} // namespace platformtest

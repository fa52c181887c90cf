#pragma once

#include "testdriver/TestDriverControl.h"

#include <ORHost/HostApp.h>
#include <platform/DynamicLibrary.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>

/// Loads the test driver module through the host-application API with a private
/// registry file, and checks at the end that every host object it made is gone.
class FrameworkModule : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    /// GetImageV2, asserting an image.
    orvhost::HostObject NewImage();
    template <class I> I* Find(const orvhost::HostObject& image) {
        I* table = orvhost::FindInterface<I>(image.get());
        EXPECT_NE(table, nullptr);
        return table;
    }
    bool LogContains(const std::string& needle) const;

    std::unique_ptr<orvhost::DriverModule> module_;
    TestDriverControl* control_ = nullptr;

private:
    platform::DynamicLibrary controlLibrary_;
    std::string registryFile_;
    uint32_t objectsBefore_ = 0;
};

#pragma once

#include "testdriver/TestDriverControl.h"

#include <ORHost/HostApp.h>
#include <platform/DynamicLibrary.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>

/// One reference to a host object, released on scope exit.
class HostRef {
public:
    HostRef() = default;
    explicit HostRef(ORHandle handle) : handle_(handle) {}
    HostRef(const HostRef&) = delete;
    HostRef& operator=(const HostRef&) = delete;
    HostRef(HostRef&& other) noexcept : handle_(other.handle_) { other.handle_ = nullptr; }
    HostRef& operator=(HostRef&& other) noexcept {
        reset();
        handle_ = other.handle_;
        other.handle_ = nullptr;
        return *this;
    }
    ~HostRef() { reset(); }
    ORHandle get() const { return handle_; }
    ORHandle* out() {
        reset();
        return &handle_;
    }
    void reset() { orvhost::Release(handle_); }
    explicit operator bool() const { return handle_ != nullptr; }

private:
    ORHandle handle_ = nullptr;
};

/// Loads the test driver module through the host-application API with a private
/// registry file, and checks at the end that every host object it made is gone.
class FrameworkModule : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    /// GetImageV2, asserting an image.
    HostRef NewImage();
    template <class I> I* Find(const HostRef& image) {
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

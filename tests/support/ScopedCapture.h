#pragma once
// Captures the module's log records for the length of a scope.

#include "support/CapturingTarget.h"

#include <nwLogging/Target.h>

#include <cstdint>
#include <memory>
#include <vector>

/// Installs a fresh CapturingTarget as the module's only target and sets the
/// root logger's level mask (all levels by default); the destructor puts the
/// previous targets and mask back. One capture at a time per process.
///
///   ScopedCapture capture(nwLogging::level_err | nwLogging::level_warn);
///   ... code that logs ...
///   EXPECT_TRUE(capture->waitForLine("MCF = "));
class ScopedCapture {
public:
    static constexpr uint32_t allLevels = 0xFF;

    explicit ScopedCapture(uint32_t levelMask = allLevels);
    ~ScopedCapture();
    ScopedCapture(const ScopedCapture&) = delete;
    ScopedCapture& operator=(const ScopedCapture&) = delete;

    CapturingTarget& target() const { return *target_; }
    CapturingTarget* operator->() const { return target_.get(); }
    const std::shared_ptr<CapturingTarget>& shared() const { return target_; }

private:
    std::shared_ptr<CapturingTarget> target_;
    std::vector<nwLogging::target_entry> savedTargets_;
    uint32_t savedMask_;
};

#pragma once
// Shared set-up of the ORBase tests: making blocks with tracked objects and
// checking that a test leaves no block behind.

#include "TrackedObject.h"

#include <ORBase/ORBase.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace hosttest {

/// Fails the test when it leaves live objects or allocated blocks behind.
class BlockTest : public ::testing::Test {
protected:
    void SetUp() override {
        liveBefore_ = ORBase_LiveObjectCount();
        allocatedBefore_ = ORBase_AllocatedBlockCount();
    }
    void TearDown() override {
        EXPECT_EQ(ORBase_LiveObjectCount(), liveBefore_) << "live objects leaked";
        EXPECT_EQ(ORBase_AllocatedBlockCount(), allocatedBefore_) << "blocks leaked";
    }

    /// A block holding a TrackedObject named `name`; the caller owns one reference.
    ORHandle MakeTracked(const std::string& name, std::function<void()> onDestroy = {}) {
        return orvBase::make_shared_object<TrackedObject>(TypeKey(), nullptr, &events_, name,
                                                          std::move(onDestroy))
            .release();
    }
    static ORTypeKey TypeKey() { return ORBase_RegisterTypeKey("hosttest-TrackedObject"); }

    std::vector<std::string> events_;

private:
    uint32_t liveBefore_ = 0;
    uint32_t allocatedBefore_ = 0;
};

} // namespace hosttest

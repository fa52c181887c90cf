// Destructors and Dispose calls that release other blocks while a block expires.

#include "BlockTestSupport.h"
#include "TrackedTable.h"

#include <ORV/ResultCodes.h>

#include <vector>

using hosttest::BlockTest;
using hosttest::TrackedTable;

namespace {

using Reentrancy = BlockTest;

TEST_F(Reentrancy, ImageHoldingItsBaseOwner_ReleasesBaseFromItsDestructor) {
    // The image object holds the owner handle of its base, as the driver's
    // images hold their generic object: releasing the image ends both.
    ORHandle generic = MakeTracked("generic");
    ASSERT_EQ(ORBase_AddInterface(generic, new TrackedTable<1>(&events_)), ORV::OK);
    ORHandle owner = generic;
    ORHandle image = MakeTracked("image", [&] { ORBase_Release(owner); });
    ASSERT_EQ(ORBase_SetBase(image, generic), ORV::OK);
    ORBase_Release(image);
    EXPECT_EQ(events_, (std::vector<std::string>{"~image", "~generic", "Dispose table 1"}));
}

TEST_F(Reentrancy, DestructorMayStillReachItsBaseThroughTheLink) {
    ORHandle generic = MakeTracked("generic");
    ORHandle owner = generic;
    int32_t baseResult = ORV::E_FAIL;
    ORHandle image = nullptr;
    image = MakeTracked("image", [&] {
        ORHandle base = nullptr;
        baseResult = ORBase_GetBase(image, &base);
        ORBase_Release(base);
        ORBase_Release(owner);
    });
    ASSERT_EQ(ORBase_SetBase(image, generic), ORV::OK);
    ORBase_Release(image);
    EXPECT_EQ(baseResult, ORV::OK);
    EXPECT_EQ(events_, (std::vector<std::string>{"~image", "~generic"}));
}

TEST_F(Reentrancy, ChainOfOwners_GoesDownInOrder) {
    constexpr int length = 500;
    std::vector<ORHandle> chain(length, nullptr);
    for (int index = length - 1; index >= 0; --index) {
        ORHandle next = index + 1 < length ? chain[index + 1] : nullptr;
        chain[index] = MakeTracked(std::to_string(index), [next] { ORBase_Release(next); });
    }
    ORBase_Release(chain[0]);
    ASSERT_EQ(events_.size(), static_cast<size_t>(length));
    for (int index = 0; index < length; ++index)
        EXPECT_EQ(events_[index], "~" + std::to_string(index));
}

TEST_F(Reentrancy, TableDispose_MayReleaseAnotherBlock) {
    ORHandle other = MakeTracked("other");
    ORHandle object = MakeTracked("object");
    ASSERT_EQ(ORBase_AddInterface(
                  object, new TrackedTable<1>(&events_, [other] { ORBase_Release(other); })),
              ORV::OK);
    ORBase_Release(object);
    EXPECT_EQ(events_, (std::vector<std::string>{"~object", "Dispose table 1", "~other"}));
}

TEST_F(Reentrancy, SelfWeakReference_ReleasedInDestructor_KeepsMemoryUntilExpiryEnds) {
    // An object that shares itself keeps a weak reference to its own block and
    // lets go of it while being destroyed.
    ORHandle self = nullptr;
    self = MakeTracked("self", [&] {
        EXPECT_LT(ORBase_PromoteWeak(self), 0);
        ORBase_ReleaseWeak(self);
    });
    ORBase_AddWeak(self);
    ASSERT_EQ(ORBase_AddInterface(self, new TrackedTable<1>(&events_)), ORV::OK);
    ORBase_Release(self);
    EXPECT_EQ(events_, (std::vector<std::string>{"~self", "Dispose table 1"}));
}

TEST_F(Reentrancy, DestructorReleasingABlockThatIsItsDerived_HasNoLockCycle) {
    // The base's object owns the derived image; the image links to the base.
    ORHandle base = nullptr;
    ORHandle derived = MakeTracked("derived");
    base = MakeTracked("base", [&] { ORBase_Release(derived); });
    ASSERT_EQ(ORBase_SetBase(derived, base), ORV::OK);
    ORBase_Release(base);
    EXPECT_EQ(events_, (std::vector<std::string>{"~base", "~derived"}));
}

} // namespace

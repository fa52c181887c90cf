// Base objects: a weak link from a derived block to its base.

#include "BlockTestSupport.h"
#include "TrackedTable.h"

#include <ORV/ResultCodes.h>

using hosttest::BlockTest;
using hosttest::TrackedTable;

namespace {

using BaseLink = BlockTest;

TEST_F(BaseLink, GetBase_AnswersANewStrongReference) {
    ORHandle base = MakeTracked("base");
    ORHandle derived = MakeTracked("derived");
    ASSERT_EQ(ORBase_SetBase(derived, base), ORV::OK);
    ORHandle found = nullptr;
    ASSERT_EQ(ORBase_GetBase(derived, &found), ORV::OK);
    EXPECT_EQ(found, base);
    EXPECT_EQ(ORBase_StrongCount(base), 2u);
    ORBase_Release(found);
    ORBase_Release(derived);
    ORBase_Release(base);
}

TEST_F(BaseLink, Link_NeverKeepsTheBaseAlive) {
    ORHandle base = MakeTracked("base");
    ORHandle derived = MakeTracked("derived");
    ASSERT_EQ(ORBase_SetBase(derived, base), ORV::OK);
    EXPECT_EQ(ORBase_StrongCount(base), 1u);
    ORBase_Release(base);
    EXPECT_EQ(events_, (std::vector<std::string>{"~base"}));
    ORHandle found = reinterpret_cast<ORHandle>(&events_);
    EXPECT_EQ(ORBase_GetBase(derived, &found), ORV::E_EXPIRED);
    EXPECT_EQ(found, nullptr);
    ORBase_Release(derived);
}

TEST_F(BaseLink, BaseMemory_GoesWithTheDerivedBlockAfterBothExpire) {
    const uint32_t allocated = ORBase_AllocatedBlockCount();
    ORHandle base = MakeTracked("base");
    ORHandle derived = MakeTracked("derived");
    ASSERT_EQ(ORBase_SetBase(derived, base), ORV::OK);
    ORBase_Release(base);
    EXPECT_EQ(ORBase_AllocatedBlockCount(), allocated + 2); // the link still holds it
    ORBase_Release(derived);
    EXPECT_EQ(ORBase_AllocatedBlockCount(), allocated);
}

TEST_F(BaseLink, SetBaseTwice_AnswersHasBase) {
    ORHandle first = MakeTracked("first");
    ORHandle second = MakeTracked("second");
    ORHandle derived = MakeTracked("derived");
    ASSERT_EQ(ORBase_SetBase(derived, first), ORV::OK);
    EXPECT_EQ(ORBase_SetBase(derived, second), ORV::E_HASBASE);
    EXPECT_EQ(ORBase_SetBase(derived, first), ORV::E_HASBASE);
    ORHandle found = nullptr;
    ASSERT_EQ(ORBase_GetBase(derived, &found), ORV::OK);
    EXPECT_EQ(found, first);
    ORBase_Release(found);
    ORBase_Release(derived);
    ORBase_Release(second);
    ORBase_Release(first);
}

TEST_F(BaseLink, SetBase_AfterTheBaseExpired_StillAnswersHasBase) {
    ORHandle first = MakeTracked("first");
    ORHandle second = MakeTracked("second");
    ORHandle derived = MakeTracked("derived");
    ASSERT_EQ(ORBase_SetBase(derived, first), ORV::OK);
    ORBase_Release(first);
    EXPECT_EQ(ORBase_SetBase(derived, second), ORV::E_HASBASE);
    ORBase_Release(derived);
    ORBase_Release(second);
}

TEST_F(BaseLink, NoBase_GetBaseFails) {
    ORHandle derived = MakeTracked("derived");
    ORHandle found = nullptr;
    EXPECT_LT(ORBase_GetBase(derived, &found), 0);
    EXPECT_EQ(found, nullptr);
    EXPECT_LT(ORBase_GetBase(derived, nullptr), 0);
    ORBase_Release(derived);
}

TEST_F(BaseLink, OwnBaseOrNullBaseOrExpiredBase_IsRefused) {
    ORHandle derived = MakeTracked("derived");
    ORHandle expired = MakeTracked("expired");
    ORBase_AddWeak(expired);
    ORBase_Release(expired);
    EXPECT_LT(ORBase_SetBase(derived, derived), 0);
    EXPECT_LT(ORBase_SetBase(derived, nullptr), 0);
    EXPECT_EQ(ORBase_SetBase(derived, expired), ORV::E_EXPIRED);
    // None of the refusals counts as a base.
    ORHandle base = MakeTracked("base");
    EXPECT_EQ(ORBase_SetBase(derived, base), ORV::OK);
    ORBase_Release(base);
    ORBase_Release(derived);
    ORBase_ReleaseWeak(expired);
}

TEST_F(BaseLink, DerivedReachesTablesThroughItsBase) {
    ORHandle base = MakeTracked("base");
    auto* table = new TrackedTable<1>(&events_);
    ASSERT_EQ(ORBase_AddInterface(base, table), ORV::OK);
    ORHandle derived = MakeTracked("derived");
    ASSERT_EQ(ORBase_SetBase(derived, base), ORV::OK);
    ORHandle found = nullptr;
    ASSERT_EQ(ORBase_GetBase(derived, &found), ORV::OK);
    EXPECT_EQ(ORBase_InterfaceAt(found, 0), table);
    EXPECT_EQ(ORBase_InterfaceCount(derived), 0u);
    ORBase_Release(found);
    ORBase_Release(derived);
    ORBase_Release(base);
}

} // namespace

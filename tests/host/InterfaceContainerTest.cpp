// Interface tables on a block: ownership, duplicates, disposal order.

#include "BlockTestSupport.h"
#include "TrackedTable.h"

#include <ORV/ResultCodes.h>

#include <memory>

using hosttest::BlockTest;
using hosttest::TrackedTable;

namespace {

using Interfaces = BlockTest;

TEST_F(Interfaces, AddedTables_AreListedInOrderOfAddition) {
    ORHandle handle = MakeTracked("object");
    auto* first = new TrackedTable<1>(&events_);
    auto* second = new TrackedTable<2>(&events_);
    ASSERT_EQ(ORBase_AddInterface(handle, first), ORV::OK);
    ASSERT_EQ(ORBase_AddInterface(handle, second), ORV::OK);
    EXPECT_EQ(ORBase_InterfaceCount(handle), 2u);
    EXPECT_EQ(ORBase_InterfaceAt(handle, 0), first);
    EXPECT_EQ(ORBase_InterfaceAt(handle, 1), second);
    EXPECT_EQ(ORBase_InterfaceAt(handle, 2), nullptr);
    ORBase_Release(handle);
}

TEST_F(Interfaces, LastRelease_DestroysObjectThenDisposesTablesInReverse) {
    ORHandle handle = MakeTracked("object");
    ASSERT_EQ(ORBase_AddInterface(handle, new TrackedTable<1>(&events_)), ORV::OK);
    ASSERT_EQ(ORBase_AddInterface(handle, new TrackedTable<2>(&events_)), ORV::OK);
    ASSERT_EQ(ORBase_AddInterface(handle, new TrackedTable<3>(&events_)), ORV::OK);
    ORBase_Release(handle);
    EXPECT_EQ(events_, (std::vector<std::string>{"~object", "Dispose table 3", "Dispose table 2",
                                                 "Dispose table 1"}));
}

TEST_F(Interfaces, WeakReferenceLeft_TablesStillGoWithTheObject) {
    ORHandle handle = MakeTracked("object");
    ASSERT_EQ(ORBase_AddInterface(handle, new TrackedTable<1>(&events_)), ORV::OK);
    ORBase_AddWeak(handle);
    ORBase_Release(handle);
    EXPECT_EQ(events_, (std::vector<std::string>{"~object", "Dispose table 1"}));
    EXPECT_EQ(ORBase_InterfaceCount(handle), 0u);
    EXPECT_EQ(ORBase_InterfaceAt(handle, 0), nullptr);
    ORBase_ReleaseWeak(handle);
}

TEST_F(Interfaces, SecondTableOfSameClass_IsRefusedAndStaysWithCaller) {
    ORHandle handle = MakeTracked("object");
    ASSERT_EQ(ORBase_AddInterface(handle, new TrackedTable<1>(&events_)), ORV::OK);
    auto duplicate = std::make_unique<TrackedTable<1>>(nullptr);
    EXPECT_EQ(ORBase_AddInterface(handle, duplicate.get()), ORV::E_INVALIDARG);
    EXPECT_EQ(ORBase_InterfaceCount(handle), 1u);
    ORBase_Release(handle);
    // Only the added table was disposed; the refused one is still ours.
    EXPECT_EQ(events_, (std::vector<std::string>{"~object", "Dispose table 1"}));
}

TEST_F(Interfaces, SameTableTwice_IsADuplicate) {
    ORHandle handle = MakeTracked("object");
    auto* table = new TrackedTable<1>(&events_);
    ASSERT_EQ(ORBase_AddInterface(handle, table), ORV::OK);
    EXPECT_EQ(ORBase_AddInterface(handle, table), ORV::E_INVALIDARG);
    ORBase_Release(handle);
    EXPECT_EQ(events_.size(), 2u); // destroyed once, disposed once
}

TEST_F(Interfaces, NullTable_IsNotReportedAsDuplicate) {
    ORHandle handle = MakeTracked("object");
    const int32_t result = ORBase_AddInterface(handle, nullptr);
    EXPECT_LT(result, 0);
    EXPECT_NE(result, ORV::E_INVALIDARG);
    ORBase_Release(handle);
}

TEST_F(Interfaces, AddDuringObjectDestruction_IsRefusedSoNoTableIsLost) {
    ORHandle handle = nullptr;
    int32_t lateResult = ORV::OK;
    auto late = std::make_unique<TrackedTable<7>>(nullptr);
    handle = MakeTracked("object", [&] { lateResult = ORBase_AddInterface(handle, late.get()); });
    ORBase_Release(handle);
    EXPECT_EQ(lateResult, ORV::E_EXPIRED);
}

} // namespace

// The C++ helpers of ORBase.h: result codes become orvBase exceptions with the
// library's texts, and the handle classes count correctly.

#include "BlockTestSupport.h"
#include "TrackedTable.h"

#include <ORBase/ORBase.h>
#include <ORV/ResultCodes.h>

#include <memory>
#include <string>

using hosttest::BlockTest;
using hosttest::TrackedTable;

namespace {

using Helpers = BlockTest;

/// Runs `action`, expecting exception type E with exactly `text`.
template <class E, class F> void ExpectThrowWithText(F action, const std::string& text) {
    try {
        action();
        ADD_FAILURE() << "nothing thrown, expected \"" << text << "\"";
    } catch (const E& error) {
        EXPECT_EQ(std::string(error.what()), text);
    }
}

TEST_F(Helpers, AddInterface_Duplicate_ThrowsInvalidArgumentWithText) {
    orvBase::shared_handle object = orvBase::shared_handle::adopt(MakeTracked("object"));
    orvBase::AddInterface(object.get(), new TrackedTable<1>(&events_));
    auto duplicate = std::make_unique<TrackedTable<1>>(nullptr);
    ExpectThrowWithText<orvBase::invalid_argument>(
        [&] { orvBase::AddInterface(object.get(), duplicate.get()); },
        "Interface in ptr present this container");
}

TEST_F(Helpers, AddInterface_NullHandle_ThrowsInvalidOperationEmptySharedPtr) {
    TrackedTable<1> table(nullptr);
    ExpectThrowWithText<orvBase::invalid_operation>([&] { orvBase::AddInterface(nullptr, &table); },
                                                    "empty shared_ptr");
}

TEST_F(Helpers, AddInterface_NullTable_ThrowsArgumentNullPtr) {
    orvBase::shared_handle object = orvBase::shared_handle::adopt(MakeTracked("object"));
    ExpectThrowWithText<orvBase::argument_null>(
        [&] { orvBase::AddInterface(object.get(), nullptr); }, "ptr");
}

TEST_F(Helpers, AddInterface_AfterExpiry_ThrowsRuntimeError) {
    ORHandle handle = MakeTracked("object");
    ORBase_AddWeak(handle);
    ORBase_Release(handle);
    TrackedTable<1> table(nullptr);
    EXPECT_THROW(orvBase::AddInterface(handle, &table), orvBase::runtime_error);
    ORBase_ReleaseWeak(handle);
}

TEST_F(Helpers, SetBase_NullBase_ThrowsArgumentNullWithText) {
    orvBase::shared_handle derived = orvBase::shared_handle::adopt(MakeTracked("derived"));
    ExpectThrowWithText<orvBase::argument_null>([&] { orvBase::SetBase(derived.get(), nullptr); },
                                                "Pointer to inherit from is null");
}

TEST_F(Helpers, SetBase_Twice_ThrowsLogicErrorWithText) {
    orvBase::shared_handle base = orvBase::shared_handle::adopt(MakeTracked("base"));
    orvBase::shared_handle derived = orvBase::shared_handle::adopt(MakeTracked("derived"));
    orvBase::SetBase(derived.get(), base.get());
    ExpectThrowWithText<orvBase::logic_error>([&] { orvBase::SetBase(derived.get(), base.get()); },
                                              "This object has an existing base object");
}

TEST_F(Helpers, SetBase_NullDerived_ThrowsRuntimeError) {
    orvBase::shared_handle base = orvBase::shared_handle::adopt(MakeTracked("base"));
    EXPECT_THROW(orvBase::SetBase(nullptr, base.get()), orvBase::runtime_error);
}

TEST_F(Helpers, WeakHandle_Promote_AfterExpiry_ThrowsBadWeakPtrWithText) {
    orvBase::weak_handle weak;
    {
        orvBase::shared_handle object = orvBase::shared_handle::adopt(MakeTracked("object"));
        weak = orvBase::weak_handle(object.get());
        EXPECT_FALSE(weak.expired());
        EXPECT_EQ(weak.promote().get(), object.get());
    }
    EXPECT_TRUE(weak.expired());
    EXPECT_FALSE(weak.lock());
    ExpectThrowWithText<orvBase::bad_weak_ptr>([&] { weak.promote(); }, "shared object expired");
}

TEST_F(Helpers, SharedHandle_CopiesCountAndMovesTransfer) {
    orvBase::shared_handle first = orvBase::shared_handle::adopt(MakeTracked("object"));
    ORHandle handle = first.get();
    {
        orvBase::shared_handle copy = first;
        EXPECT_EQ(ORBase_StrongCount(handle), 2u);
        orvBase::shared_handle moved = std::move(copy);
        EXPECT_FALSE(copy);
        EXPECT_EQ(ORBase_StrongCount(handle), 2u);
    }
    EXPECT_EQ(ORBase_StrongCount(handle), 1u);
    orvBase::shared_handle shared = orvBase::shared_handle::share(handle);
    EXPECT_EQ(ORBase_StrongCount(handle), 2u);
    first.reset();
    EXPECT_TRUE(events_.empty());
    shared.reset();
    EXPECT_EQ(events_, (std::vector<std::string>{"~object"}));
}

TEST(HelperExceptions, HierarchyAndTexts) {
    EXPECT_STREQ(orvBase::bad_weak_ptr().what(), "shared object expired");
    EXPECT_STREQ(orvBase::bad_alloc().what(), "");
    const orvBase::argument_null argumentNull("ptr");
    const orvBase::invalid_argument& asInvalidArgument = argumentNull;
    const orvBase::logic_error& asLogicError = asInvalidArgument;
    const orvBase::exception& asException = asLogicError;
    EXPECT_STREQ(asException.what(), "ptr");
    const orvBase::invalid_operation invalidOperation("empty shared_ptr");
    EXPECT_NE(dynamic_cast<const orvBase::logic_error*>(&invalidOperation), nullptr);
    const orvBase::runtime_error runtimeError("r");
    EXPECT_EQ(dynamic_cast<const orvBase::logic_error*>(
                  static_cast<const orvBase::exception*>(&runtimeError)),
              nullptr);
}

} // namespace

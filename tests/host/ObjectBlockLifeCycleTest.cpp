// Strong and weak references, object destruction and block memory.

#include "BlockTestSupport.h"

#include <ORV/ResultCodes.h>

#include <cstdint>
#include <new>
#include <stdexcept>

using hosttest::BlockTest;
using hosttest::TrackedObject;

namespace {

using LifeCycle = BlockTest;

TEST_F(LifeCycle, Allocate_GivesStorageAlignedForAnyObject) {
    for (size_t size : {size_t{0}, size_t{1}, size_t{3}, size_t{24}, size_t{4096}}) {
        void* storage = nullptr;
        ORHandle handle = ORBase_Allocate(size, &storage);
        ASSERT_NE(handle, nullptr);
        ASSERT_NE(storage, nullptr);
        EXPECT_EQ(reinterpret_cast<uintptr_t>(storage) % alignof(std::max_align_t), 0u);
        EXPECT_EQ(ORBase_StrongCount(handle), 1u);
        ORBase_Release(handle);
    }
}

TEST_F(LifeCycle, Allocate_ImpossibleSizeOrNoStorageOut_GivesNull) {
    void* storage = reinterpret_cast<void*>(1);
    EXPECT_EQ(ORBase_Allocate(SIZE_MAX, &storage), nullptr);
    EXPECT_EQ(storage, nullptr);
    EXPECT_EQ(ORBase_Allocate(16, nullptr), nullptr);
}

TEST_F(LifeCycle, LastStrongRelease_DestroysObjectExactlyOnce_NeverDisposesIt) {
    ORHandle handle = MakeTracked("a");
    ORBase_AddRef(handle);
    EXPECT_EQ(ORBase_StrongCount(handle), 2u);
    ORBase_Release(handle);
    EXPECT_TRUE(events_.empty());
    ORBase_Release(handle);
    EXPECT_EQ(events_, (std::vector<std::string>{"~a"}));
}

TEST_F(LifeCycle, BlockWithoutObject_ReleasesCleanly) {
    void* storage = nullptr;
    ORHandle handle = ORBase_Allocate(32, &storage);
    ASSERT_NE(handle, nullptr);
    void* object = nullptr;
    EXPECT_LT(ORBase_QueryObject(handle, ORBASE_OWN_OBJECT, &object), 0);
    ORBase_Release(handle);
}

TEST_F(LifeCycle, WeakReference_KeepsMemoryButNotObject) {
    const uint32_t allocated = ORBase_AllocatedBlockCount();
    const uint32_t live = ORBase_LiveObjectCount();
    ORHandle handle = MakeTracked("a");
    ORBase_AddWeak(handle);
    ORBase_Release(handle);
    EXPECT_EQ(events_, (std::vector<std::string>{"~a"}));
    EXPECT_EQ(ORBase_LiveObjectCount(), live);
    EXPECT_EQ(ORBase_AllocatedBlockCount(), allocated + 1);
    EXPECT_EQ(ORBase_StrongCount(handle), 0u);
    ORBase_ReleaseWeak(handle);
    EXPECT_EQ(ORBase_AllocatedBlockCount(), allocated);
}

TEST_F(LifeCycle, PromoteWeak_WhileAlive_AddsStrongReference) {
    ORHandle handle = MakeTracked("a");
    ORBase_AddWeak(handle);
    ASSERT_EQ(ORBase_PromoteWeak(handle), ORV::OK);
    EXPECT_EQ(ORBase_StrongCount(handle), 2u);
    ORBase_Release(handle);
    ORBase_Release(handle);
    EXPECT_EQ(events_.size(), 1u);
    ORBase_ReleaseWeak(handle);
}

TEST_F(LifeCycle, PromoteWeak_AfterExpiry_FailsAndNeverResurrects) {
    ORHandle handle = MakeTracked("a");
    ORBase_AddWeak(handle);
    ORBase_Release(handle);
    EXPECT_EQ(ORBase_PromoteWeak(handle), ORV::E_EXPIRED);
    ORBase_AddRef(handle); // refused: the object is gone
    EXPECT_EQ(ORBase_StrongCount(handle), 0u);
    void* object = nullptr;
    EXPECT_EQ(ORBase_QueryObject(handle, ORBASE_OWN_OBJECT, &object), ORV::E_EXPIRED);
    EXPECT_EQ(events_.size(), 1u);
    ORBase_ReleaseWeak(handle);
}

TEST_F(LifeCycle, OverRelease_OfExpiredBlock_IsRefused) {
    ORHandle handle = MakeTracked("a");
    ORBase_AddWeak(handle);
    ORBase_Release(handle);
    ORBase_Release(handle); // would wrap the count round
    EXPECT_EQ(ORBase_StrongCount(handle), 0u);
    EXPECT_EQ(events_.size(), 1u);
    ORBase_ReleaseWeak(handle);
}

TEST_F(LifeCycle, QueryObject_AnswersByTypeKeyOrOwnObject) {
    TrackedObject* created = nullptr;
    ORHandle handle =
        orvBase::make_shared_object<TrackedObject>(TypeKey(), &created, &events_, "a").release();
    void* object = nullptr;
    ASSERT_EQ(ORBase_QueryObject(handle, TypeKey(), &object), ORV::OK);
    EXPECT_EQ(static_cast<ORV::IDisposableType*>(object), created);
    object = nullptr;
    ASSERT_EQ(ORBase_QueryObject(handle, ORBASE_OWN_OBJECT, &object), ORV::OK);
    EXPECT_EQ(static_cast<ORV::IDisposableType*>(object), created);
    const ORTypeKey other = ORBase_RegisterTypeKey("hosttest-Other");
    EXPECT_LT(ORBase_QueryObject(handle, other, &object), 0);
    EXPECT_LT(ORBase_QueryObject(handle, 0, &object), 0);
    EXPECT_LT(ORBase_QueryObject(handle, TypeKey(), nullptr), 0);
    ORBase_Release(handle);
}

TEST_F(LifeCycle, SetObject_Twice_IsRefused) {
    ORHandle handle = MakeTracked("a");
    TrackedObject second(nullptr, "second");
    EXPECT_LT(ORBase_SetObject(handle, &second, TypeKey()), 0);
    void* object = nullptr;
    ASSERT_EQ(ORBase_QueryObject(handle, ORBASE_OWN_OBJECT, &object), ORV::OK);
    EXPECT_EQ(static_cast<TrackedObject*>(static_cast<ORV::IDisposableType*>(object))->name(), "a");
    ORBase_Release(handle);
}

TEST_F(LifeCycle, ThrowingConstructor_ReleasesTheBlock) {
    struct Throwing : ORV::IDisposableType {
        Throwing() { throw std::runtime_error("constructor failed"); }
    };
    EXPECT_THROW(orvBase::make_shared_object<Throwing>(TypeKey(), nullptr), std::runtime_error);
}

TEST(TypeKeys, SameNameSameKey_DistinctNamesDistinctKeys_FromTwoUp) {
    const ORTypeKey a = ORBase_RegisterTypeKey("hosttest-KeyA");
    const ORTypeKey b = ORBase_RegisterTypeKey("hosttest-KeyB");
    EXPECT_GE(a, 2u);
    EXPECT_GE(b, 2u);
    EXPECT_NE(a, b);
    EXPECT_EQ(ORBase_RegisterTypeKey("hosttest-KeyA"), a);
    EXPECT_EQ(ORBase_RegisterTypeKey(nullptr), 0u);
    EXPECT_EQ(ORBase_RegisterTypeKey(""), 0u);
}

TEST(NullHandles, EveryFunction_AnswersFailureOrDoesNothing) {
    void* object = nullptr;
    ORHandle base = nullptr;
    TrackedObject table(nullptr, "t");
    ORBase_AddRef(nullptr);
    ORBase_Release(nullptr);
    ORBase_AddWeak(nullptr);
    ORBase_ReleaseWeak(nullptr);
    EXPECT_LT(ORBase_SetObject(nullptr, &table, 2), 0);
    EXPECT_LT(ORBase_PromoteWeak(nullptr), 0);
    EXPECT_LT(ORBase_QueryObject(nullptr, ORBASE_OWN_OBJECT, &object), 0);
    EXPECT_LT(ORBase_AddInterface(nullptr, &table), 0);
    EXPECT_NE(ORBase_AddInterface(nullptr, &table), ORV::E_INVALIDARG);
    EXPECT_EQ(ORBase_InterfaceCount(nullptr), 0u);
    EXPECT_EQ(ORBase_InterfaceAt(nullptr, 0), nullptr);
    EXPECT_LT(ORBase_SetBase(nullptr, nullptr), 0);
    EXPECT_LT(ORBase_GetBase(nullptr, &base), 0);
    EXPECT_EQ(ORBase_StrongCount(nullptr), 0u);
}

} // namespace

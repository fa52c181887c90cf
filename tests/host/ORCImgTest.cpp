// Sharing and releasing host objects through the image core.

#include "BlockTestSupport.h"

#include <ORCImg/HostObject.h>
#include <ORCImg/ORCImg.h>

using hosttest::BlockTest;

namespace {

using ImageCore = BlockTest;

TEST_F(ImageCore, ShareObject_AddsAStrongReference) {
    ORHandle handle = MakeTracked("object");
    ORCImg_ShareObject(handle);
    EXPECT_EQ(ORBase_StrongCount(handle), 2u);
    ORHandle copy = handle;
    ORCImg_ReleaseObject(&copy);
    EXPECT_EQ(copy, nullptr);
    EXPECT_EQ(ORBase_StrongCount(handle), 1u);
    EXPECT_TRUE(events_.empty());
    ORCImg_ReleaseObject(&handle);
    EXPECT_EQ(handle, nullptr);
    EXPECT_EQ(events_, (std::vector<std::string>{"~object"}));
}

TEST_F(ImageCore, ReleaseObject_ClearsTheVariableBeforeTheObjectDies) {
    ORHandle handle = nullptr;
    ORHandle seenInDestructor = reinterpret_cast<ORHandle>(&events_);
    handle = MakeTracked("object", [&] { seenInDestructor = handle; });
    ORCImg_ReleaseObject(&handle);
    EXPECT_EQ(seenInDestructor, nullptr);
}

TEST_F(ImageCore, NullPointerOrNullHandle_AreIgnored) {
    ORCImg_ShareObject(nullptr);
    ORCImg_ReleaseObject(nullptr);
    ORHandle empty = nullptr;
    ORCImg_ReleaseObject(&empty);
    EXPECT_EQ(empty, nullptr);
}

TEST_F(ImageCore, HostObject_ReleasesItsOneReferenceOnceWhereverItWasMoved) {
    orvCImg::HostObject moved;
    {
        orvCImg::HostObject first(MakeTracked("first"));
        moved = std::move(first);
        EXPECT_FALSE(first);
    }
    ASSERT_TRUE(moved);
    EXPECT_TRUE(events_.empty());
    ORHandle* slot = moved.out(); // releases "first", then takes a new reference
    EXPECT_EQ(events_, (std::vector<std::string>{"~first"}));
    EXPECT_EQ(*slot, nullptr);
    *slot = MakeTracked("second");

    ORHandle kept = moved.release();
    EXPECT_FALSE(moved);
    moved.reset();
    EXPECT_EQ(events_.size(), 1u) << "a released reference is the caller's";
    orvCImg::HostObject adopted(kept);
    adopted.reset();
    EXPECT_EQ(adopted.get(), nullptr);
    EXPECT_EQ(events_, (std::vector<std::string>{"~first", "~second"}));
}

} // namespace

// Proxies: what the host hands out for a node map, and the release callback.

#include "FakeRegisterPort.h"
#include "GenApiTestSupport.h"

#include <ORGenApi/ORGenApiControl.h>
#include <ORV/ResultCodes.h>

using hosttest::CameraDescription;
using hosttest::FakeRegisterPort;
using hosttest::NodeMapTest;

namespace {

/// What a release callback saw.
struct ReleaseRecord {
    int calls = 0;
    void* context = nullptr;
    ORHandle nodeMap = nullptr; // weak reference taken by the test
    bool nodeMapAliveAtCallback = false;
    ORHandle alsoRelease = nullptr;
};

int32_t Released(void* context) {
    auto* record = static_cast<ReleaseRecord*>(context);
    ++record->calls;
    record->context = context;
    if (record->nodeMap != nullptr && ORBase_PromoteWeak(record->nodeMap) == 0) {
        record->nodeMapAliveAtCallback = true;
        ORBase_Release(record->nodeMap);
    }
    ORCImg_ReleaseObject(&record->alsoRelease);
    return 0;
}

using NodeMapProxy = NodeMapTest;

TEST_F(NodeMapProxy, LastRelease_CallsTheCallbackOnceWithItsContext) {
    ReleaseRecord record;
    ORHandle proxy = nullptr;
    ASSERT_EQ(ORGenApi_CreateProxy(nodeMap_, Released, &record, &proxy), 0);
    ASSERT_NE(proxy, nullptr);
    ORCImg_ShareObject(proxy);
    ORHandle second = proxy;
    ORCImg_ReleaseObject(&second);
    EXPECT_EQ(record.calls, 0);
    ORCImg_ReleaseObject(&proxy);
    EXPECT_EQ(record.calls, 1);
    EXPECT_EQ(record.context, &record);
}

TEST_F(NodeMapProxy, KeepsTheNodeMapAliveUntilItsCallbackHasRun) {
    ASSERT_EQ(ORGenApi_LoadDescription(nodeMap_, CameraDescription()), 0);
    ReleaseRecord record;
    ORHandle proxy = nullptr;
    ASSERT_EQ(ORGenApi_CreateProxy(nodeMap_, Released, &record, &proxy), 0);
    record.nodeMap = nodeMap_;
    ORBase_AddWeak(nodeMap_);
    ORHandle ours = nodeMap_;
    ORCImg_ReleaseObject(&ours); // only the proxy holds the node map now
    nodeMap_ = nullptr;
    EXPECT_EQ(ORBase_StrongCount(record.nodeMap), 1u);
    EXPECT_EQ(ORGenApi_HasNode(proxy, "Width"), 1);
    ORCImg_ReleaseObject(&proxy);
    EXPECT_EQ(record.calls, 1);
    EXPECT_TRUE(record.nodeMapAliveAtCallback);
    EXPECT_EQ(ORBase_PromoteWeak(record.nodeMap), ORV::E_EXPIRED);
    ORBase_ReleaseWeak(record.nodeMap);
}

TEST_F(NodeMapProxy, CallbackMayReleaseAnotherProxy) {
    ReleaseRecord first;
    ReleaseRecord second;
    ORHandle proxy = nullptr;
    ASSERT_EQ(ORGenApi_CreateProxy(nodeMap_, Released, &first, &proxy), 0);
    ASSERT_EQ(ORGenApi_CreateProxy(nodeMap_, Released, &second, &first.alsoRelease), 0);
    ORCImg_ReleaseObject(&proxy);
    EXPECT_EQ(first.calls, 1);
    EXPECT_EQ(second.calls, 1);
    EXPECT_EQ(first.alsoRelease, nullptr);
}

TEST_F(NodeMapProxy, WithoutCallback_ReleasesQuietly) {
    ORHandle proxy = nullptr;
    ASSERT_EQ(ORGenApi_CreateProxy(nodeMap_, nullptr, nullptr, &proxy), 0);
    ORCImg_ReleaseObject(&proxy);
}

TEST_F(NodeMapProxy, ActsForItsNodeMap) {
    ASSERT_EQ(ORGenApi_LoadDescription(nodeMap_, CameraDescription()), 0);
    FakeRegisterPort port(16);
    port.bytes()[4] = 0x5A;
    ASSERT_EQ(ORGenApi_AttachPort(nodeMap_, FakeRegisterPort::Read, FakeRegisterPort::Write,
                                  FakeRegisterPort::Access, &port, "Device"),
              0);
    ORHandle proxy = nullptr;
    ASSERT_EQ(ORGenApi_CreateProxy(nodeMap_, nullptr, nullptr, &proxy), 0);
    uint8_t value = 0;
    EXPECT_EQ(ORGenApi_ReadPort(proxy, &value, 4, 1), 0);
    EXPECT_EQ(value, 0x5A);
    EXPECT_EQ(ORGenApi_HasNode(proxy, "WidthReg"), 1);
    char name[16] = {};
    uint32_t length = sizeof(name);
    EXPECT_EQ(ORGenApi_GetPortName(proxy, name, &length), 0);
    EXPECT_STREQ(name, "Device");
    ORCImg_ReleaseObject(&proxy);
}

TEST_F(NodeMapProxy, CreateProxy_RefusesBadArguments) {
    ORHandle proxy = reinterpret_cast<ORHandle>(this);
    EXPECT_NE(ORGenApi_CreateProxy(nullptr, Released, nullptr, &proxy), 0);
    EXPECT_EQ(proxy, nullptr);
    EXPECT_NE(ORGenApi_CreateProxy(nodeMap_, Released, nullptr, nullptr), 0);
    ORHandle other = MakeTracked("not a node map");
    EXPECT_NE(ORGenApi_CreateProxy(other, Released, nullptr, &proxy), 0);
    ORBase_Release(other);
    // A proxy is not a node map to make proxies of, nor to load or attach.
    ORHandle first = nullptr;
    ASSERT_EQ(ORGenApi_CreateProxy(nodeMap_, nullptr, nullptr, &first), 0);
    EXPECT_NE(ORGenApi_CreateProxy(first, nullptr, nullptr, &proxy), 0);
    EXPECT_NE(ORGenApi_LoadDescription(first, CameraDescription()), 0);
    ORCImg_ReleaseObject(&first);
}

TEST_F(NodeMapProxy, InjectedFailures_AnswerTheCodeOnlyAsOftenAsArmed) {
    ASSERT_EQ(ORGenApiCtl_FailCall("ORGenApi_CreateProxy", ORV::E_OUTOFMEMORY, 1), ORV::OK);
    ASSERT_EQ(ORGenApiCtl_FailCall("ORGenApi_AttachPort", ORV::E_FAIL, -1), ORV::OK);
    ORHandle proxy = reinterpret_cast<ORHandle>(this);
    EXPECT_EQ(ORGenApi_CreateProxy(nodeMap_, Released, nullptr, &proxy), ORV::E_OUTOFMEMORY);
    EXPECT_EQ(proxy, nullptr);
    FakeRegisterPort port(16);
    const auto attach = [&] {
        return ORGenApi_AttachPort(nodeMap_, FakeRegisterPort::Read, FakeRegisterPort::Write,
                                   nullptr, &port, "Device");
    };
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(attach(), ORV::E_FAIL);
    ORGenApiCtl_ClearFaults();
    EXPECT_EQ(attach(), ORV::OK);
    ASSERT_EQ(ORGenApi_CreateProxy(nodeMap_, nullptr, nullptr, &proxy), ORV::OK);
    ORCImg_ReleaseObject(&proxy);
    // Only the calls that build a node map can be failed.
    EXPECT_EQ(ORGenApiCtl_FailCall("ORGenApi_ReadPort", ORV::E_FAIL, 1), ORV::E_INVALIDARG);
    EXPECT_EQ(ORGenApiCtl_FailCall(nullptr, ORV::E_FAIL, 1), ORV::E_INVALIDARG);
}

} // namespace

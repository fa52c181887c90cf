// The channel's node maps as proxies: one proxy per node map while the host
// holds it, the channel's self-reference and the liveness table.
#include "driver/nodemap/NodeMapRig.h"

#include "support/ScopedCapture.h"

#include "nodemap/DriverINodeMapHandle.h"
#include "nodemap/DriverINodeMapHandle2.h"
#include "nodemap/NodeMapLibraryPin.h"
#include <ddk/NodeMapLiveness.h>

#include <ORGenApi/ORGenApi.h>
#include <ORV/ResultCodes.h>

#include <simctl/SimControl.h>

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

using namespace nodemaptest;

namespace {

const std::string prefix = "\tBoard = 0 | Channel = 0\t";

Machine GigE() {
    Machine machine;
    machine.technology = Technology::GigE;
    return machine;
}

/// Records whose text is exactly `text`.
size_t Count(const CapturingTarget& target, const std::string& text) {
    size_t count = 0;
    for (const CapturedRecord& record : target.records())
        count += record.text == text ? 1 : 0;
    return count;
}

TEST(NodeMapLifetime, TwoCameraRequests_TheSameProxyWithOneMoreReference) {
    ScopedCapture capture;
    NodeMapRig rig(GigE());
    CDriverChannel& channel = rig.Channel();
    HostObject first(channel.GetCameraNodeMap());
    ASSERT_TRUE(first);
    HostObject second(channel.GetCameraNodeMap());
    EXPECT_EQ(second.get(), first.get());
    EXPECT_EQ(SimCtl_CallCount("Gbe_CameraDescription"), 2) << "downloaded once: size and data";
    EXPECT_EQ(Count(capture.target(), prefix + "Requested Camera node map"), 1u);

    first.reset();
    EXPECT_EQ(CNodeMapLiveness::Get(channel.GetChannelKey()), CNodeMapLiveness::CameraBit);
    EXPECT_GT(IntegerFeature(second.get(), "Width"), 0) << "the second reference keeps it usable";
    EXPECT_EQ(Count(capture.target(), "Camera node map destructed"), 0u);

    second.reset();
    EXPECT_EQ(CNodeMapLiveness::Get(channel.GetChannelKey()), 0u);
    EXPECT_EQ(channel.NodeMaps().Link(CChannelNodeMaps::Camera), nullptr);
    EXPECT_FALSE(channel.NodeMaps().HoldsChannel());
    EXPECT_EQ(Count(capture.target(), "Camera node map destructed"), 1u)
        << "written without the channel's prefix";
}

TEST(NodeMapLifetime, RequestAfterRelease_BuildsTheNodeMapAnew) {
    NodeMapRig rig(GigE());
    HostObject first(rig.Channel().GetCameraNodeMap());
    ASSERT_TRUE(first);
    first.reset();
    HostObject again(rig.Channel().GetCameraNodeMap());
    ASSERT_TRUE(again);
    EXPECT_EQ(SimCtl_CallCount("Gbe_CameraDescription"), 4) << "downloaded a second time";
}

TEST(NodeMapLifetime, CameraReleasedWhileDmaLives_ChannelStaysUntilTheLastRelease) {
    ScopedCapture capture;
    NodeMapRig rig(GigE());
    const uint32_t key = rig.Channel().GetChannelKey();
    HostObject camera(rig.Channel().GetCameraNodeMap());
    HostObject dma(rig.Channel().GetDmaNodeMap());
    ASSERT_TRUE(camera);
    ASSERT_TRUE(dma);
    EXPECT_EQ(CNodeMapLiveness::Get(key), CNodeMapLiveness::CameraBit | CNodeMapLiveness::DmaBit);

    std::weak_ptr<CDriverChannel> channel = rig.ReleaseChannel();
    camera.reset();
    ASSERT_FALSE(channel.expired()) << "the DMA node map keeps the channel";
    EXPECT_EQ(CNodeMapLiveness::Get(key), CNodeMapLiveness::DmaBit);
    EXPECT_TRUE(channel.lock()->NodeMaps().HoldsChannel());
    EXPECT_EQ(IntegerFeature(dma.get(), "FG_WIDTH"), 640) << "its port still reaches the DMA";

    dma.reset();
    EXPECT_TRUE(channel.expired()) << "the last release dropped the self-reference";
    EXPECT_EQ(CNodeMapLiveness::Get(key), 0u);
    EXPECT_EQ(Count(capture.target(), "DMA node map destructed"), 1u);
    EXPECT_EQ(Count(capture.target(), prefix + "Channel destructed"), 1u);
}

TEST(NodeMapLifetime, CameraLink_NoCameraNodeMapButADmaNodeMap) {
    ScopedCapture capture;
    NodeMapRig rig;
    CDriverChannel& channel = rig.Channel();
    EXPECT_EQ(channel.GetCameraNodeMap(), nullptr);
    EXPECT_EQ(CNodeMapLiveness::Get(channel.GetChannelKey()), 0u);
    EXPECT_FALSE(channel.NodeMaps().HoldsChannel());
    HostObject dma(channel.GetDmaNodeMap());
    ASSERT_TRUE(dma);
    EXPECT_EQ(Count(capture.target(), prefix + "Requested DMA node map"), 1u);

    CDriverINodeMapHandle handle(channel);
    ORHandle nodeMap = reinterpret_cast<ORHandle>(0x1);
    EXPECT_EQ(handle.GetNodeMap(nullptr, &nodeMap), ORV::E_NOTSUPPORTED);
    EXPECT_EQ(nodeMap, nullptr);
}

TEST(NodeMapLifetime, NodeMapHandle2_ByExactNameOnly) {
    NodeMapRig rig(GigE());
    CDriverINodeMapHandle2 handle(rig.Channel());
    HostObject dma;
    EXPECT_EQ(handle.GetNodeMapByName(nullptr, "TLDevice", dma.out()), ORV::OK);
    EXPECT_EQ(PortName(dma.get()), "DevicePort");
    HostObject camera;
    EXPECT_EQ(handle.GetNodeMapByName(nullptr, "Device", camera.out()), ORV::OK);
    EXPECT_EQ(PortName(camera.get()), "Device");
    HostObject none;
    EXPECT_EQ(handle.GetNodeMapByName(nullptr, "device", none.out()), ORV::E_NOTSUPPORTED);
    EXPECT_EQ(none.get(), nullptr);
    EXPECT_EQ(handle.GetNodeMapByName(nullptr, "TLDevice ", none.out()), ORV::E_NOTSUPPORTED);
    EXPECT_EQ(handle.GetNodeMapByName(nullptr, nullptr, none.out()), ORV::E_NOTSUPPORTED);
    EXPECT_EQ(handle.GetNodeMapByName(nullptr, "Device", nullptr), ORV::E_INVALIDARG);
}

TEST(NodeMapLifetime, ListNodeMaps_EmptiesTheListFirst) {
    NodeMapRig rig;
    CDriverINodeMapHandle2 handle(rig.Channel());
    std::vector<NodeMapEntry> list = {{"stale", "entry"}};
    ASSERT_EQ(handle.ListNodeMaps(nullptr, list), ORV::OK);
    ASSERT_EQ(handle.ListNodeMaps(nullptr, list), ORV::OK);
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list[0].name, "TLDevice");
    EXPECT_EQ(list[0].description, "Transport Layer Device Nodemap");
    EXPECT_EQ(list[1].name, "Device");
    EXPECT_EQ(list[1].description, "Remote Device Nodemap");
}

TEST(NodeMapLifetime, ConcurrentRequestsAndReleases_LeaveNothingBehind) {
    NodeMapRig rig;
    CDriverChannel& channel = rig.Channel();
    std::atomic<int> wrongValues{0};
    std::atomic<int> handedOut{0};
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([&] {
            for (int round = 0; round < 50; ++round) {
                // A request racing a release may answer none; a handle it does
                // answer must be a live one.
                HostObject dma(channel.GetDmaNodeMap());
                if (!dma)
                    continue;
                handedOut.fetch_add(1);
                if (IntegerFeature(dma.get(), "FG_WIDTH") != 640)
                    wrongValues.fetch_add(1);
            }
        });
    }
    for (std::thread& thread : threads)
        thread.join();
    EXPECT_EQ(wrongValues.load(), 0);
    EXPECT_GT(handedOut.load(), 0);
    EXPECT_EQ(CNodeMapLiveness::Get(channel.GetChannelKey()), 0u);
    EXPECT_EQ(channel.NodeMaps().Link(CChannelNodeMaps::Dma), nullptr);
    EXPECT_FALSE(channel.NodeMaps().HoldsChannel());
}

TEST(NodeMapLifetime, LibraryPin_LoadsTheHostsNodeMapLibraryByItsName) {
    CNodeMapLibraryPin pin;
    EXPECT_TRUE(pin.Pinned()) << CNodeMapLibraryPin::LibraryName;
}

TEST(NodeMapLifetime, ReleaseCallback_NullContextIsRefused) {
    EXPECT_EQ(CChannelNodeMaps::CameraReleased(nullptr), ORV::E_INVALIDARG);
    EXPECT_EQ(CChannelNodeMaps::DmaReleased(nullptr), ORV::E_INVALIDARG);
}

} // namespace

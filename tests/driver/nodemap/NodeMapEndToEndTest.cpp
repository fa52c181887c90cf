// Node maps as a host reaches them: through INodeMapHandle, INodeMapHandle2 and
// device control on the module's image, with features read over the driver's
// register ports, and the module's unloading while node maps live.
#include "driver/nodemap/NodeMapModule.h"

#include <ORGenApi/ORGenApi.h>
#include <ORV/IDeviceCtrl.h>
#include <ORV/ResultCodes.h>

#include <simctl/SimControl.h>

#include <array>

using namespace nodemaptest;

namespace {

uint32_t BigEndianWidth(const char* camera) {
    std::array<uint8_t, 4> bytes{};
    EXPECT_EQ(SimCtl_ReadCameraMemory(camera, 0x1000, bytes.data(), bytes.size()), SIMCTL_OK);
    return (uint32_t{bytes[0]} << 24) | (uint32_t{bytes[1]} << 16) | (uint32_t{bytes[2]} << 8) |
           bytes[3];
}

Machine GigEOn(const char* runtime) {
    Machine machine;
    machine.technology = Technology::GigE;
    machine.runtime = runtime;
    return machine;
}

using NodeMapEndToEnd = NodeMapModule;

TEST_F(NodeMapEndToEnd, TwoRequests_SameNodeMap_ModuleUnloadsOnlyAfterTheLastRelease) {
    Open(GigEOn("5.7.0"));
    ORV::INodeMapHandle* handle = Find<ORV::INodeMapHandle>();
    ASSERT_NE(handle, nullptr);
    HostObject first;
    HostObject second;
    ASSERT_EQ(handle->GetNodeMap(first.out()), 0);
    ASSERT_EQ(handle->GetNodeMap(second.out()), 0);
    EXPECT_EQ(first.get(), second.get());

    ReleaseImage();
    EXPECT_EQ(CanUnload(), 0) << "node maps are still held";
    first.reset();
    EXPECT_EQ(CanUnload(), 0);
    EXPECT_GT(IntegerFeature(second.get(), "Width"), 0) << "the channel outlived the image";
    second.reset();
    EXPECT_EQ(CanUnload(), 1);
}

TEST_F(NodeMapEndToEnd, CameraReleasedBeforeDma_UnloadWaitsForBoth) {
    Open(GigEOn("5.7.0"));
    ORV::INodeMapHandle2* handle = Find<ORV::INodeMapHandle2>();
    ASSERT_NE(handle, nullptr);
    HostObject camera;
    HostObject dma;
    ASSERT_EQ(handle->GetNodeMap("Device", camera.out()), 0);
    ASSERT_EQ(handle->GetNodeMap("TLDevice", dma.out()), 0);
    ReleaseImage();
    camera.reset();
    EXPECT_EQ(CanUnload(), 0);
    EXPECT_EQ(IntegerFeature(dma.get(), "FG_WIDTH"), 640);
    dma.reset();
    EXPECT_EQ(CanUnload(), 1);
}

TEST_F(NodeMapEndToEnd, CameraLink_DmaNodeMapButNoCameraNodeMap) {
    Open();
    HostObject none;
    EXPECT_EQ(Find<ORV::INodeMapHandle>()->GetNodeMap(none.out()), ORV::E_NOTSUPPORTED);
    EXPECT_EQ(none.get(), nullptr);
    ORV::INodeMapHandle2* handle = Find<ORV::INodeMapHandle2>();
    EXPECT_EQ(handle->GetNodeMap("Device", none.out()), ORV::E_NOTSUPPORTED);
    EXPECT_EQ(handle->GetNodeMap("device", none.out()), ORV::E_NOTSUPPORTED);
    HostObject dma;
    ASSERT_EQ(handle->GetNodeMap("TLDevice", dma.out()), 0);
    EXPECT_EQ(PortName(dma.get()), "DevicePort");
    EXPECT_EQ(IntegerFeature(dma.get(), "FG_HEIGHT"), 480);
}

TEST_F(NodeMapEndToEnd, NodeMapList_TwoEntriesHoweverOftenAsked) {
    Open();
    ORV::INodeMapHandle2* handle = Find<ORV::INodeMapHandle2>();
    int32_t count = 0;
    ASSERT_EQ(handle->GetNodeMapCount(&count), 0);
    ASSERT_EQ(handle->GetNodeMapCount(&count), 0);
    EXPECT_EQ(count, 2);
    char name[16] = {};
    uint32_t length = sizeof name;
    ASSERT_EQ(handle->GetNodeMapName(0, name, &length), 0);
    EXPECT_STREQ(name, "TLDevice");
    length = sizeof name;
    ASSERT_EQ(handle->GetNodeMapName(1, name, &length), 0);
    EXPECT_STREQ(name, "Device");
    char description[64] = {};
    length = sizeof description;
    ASSERT_EQ(handle->GetNodeMapDescription("Device", description, &length), 0);
    EXPECT_STREQ(description, "Remote Device Nodemap");
}

class GigEEndToEnd : public NodeMapModule, public ::testing::WithParamInterface<const char*> {};

TEST_P(GigEEndToEnd, WidthReadAndWrittenThroughTheCamerasPort) {
    Open(GigEOn(GetParam()));
    HostObject camera;
    ASSERT_EQ(Find<ORV::INodeMapHandle>()->GetNodeMap(camera.out()), 0);
    EXPECT_EQ(PortName(camera.get()), "Device");
    const int64_t before = SimCtl_CallCount("Gbe_MemoryRead");
    EXPECT_EQ(IntegerFeature(camera.get(), "Width"), BigEndianWidth("gcam"));
    EXPECT_GT(SimCtl_CallCount("Gbe_MemoryRead"), before) << "the read reached the camera";
    ASSERT_EQ(ORGenApi_SetIntegerFeature(camera.get(), "Width", 1024), 0);
    EXPECT_EQ(BigEndianWidth("gcam"), 1024u);
    ASSERT_EQ(ORGenApi_SetEnumFeature(camera.get(), "PixelFormat", "Mono8"), 0);
    EXPECT_EQ(EnumFeature(camera.get(), "PixelFormat"), "Mono8");
}

INSTANTIATE_TEST_SUITE_P(Runtimes, GigEEndToEnd, ::testing::Values("5.0.0", "5.1.0"));

TEST_F(NodeMapEndToEnd, CoaXPressCameraFeature) {
    Machine machine;
    machine.technology = Technology::CoaXPress;
    Open(machine);
    HostObject camera;
    ASSERT_EQ(Find<ORV::INodeMapHandle2>()->GetNodeMap("Device", camera.out()), 0);
    EXPECT_EQ(IntegerFeature(camera.get(), "Width"), BigEndianWidth("xcam"));
    EXPECT_EQ(StringFeature(camera.get(), "DeviceVendorName"), "Nordwell Sim");
}

TEST_F(NodeMapEndToEnd, DeviceControlHandsOutTheDmaNodeMap) {
    Open();
    ORV::IDeviceCtrl* control = Find<ORV::IDeviceCtrl>();
    HostObject dma;
    uint64_t size = 8;
    ASSERT_EQ(control->RawCommand(ORV::DEVICECTRL_DMA_NODEMAP, nullptr, 0, dma.out(), &size), 0);
    ASSERT_TRUE(dma);
    EXPECT_EQ(IntegerFeature(dma.get(), "FG_WIDTH"), 640);
    // No camera node map on Camera Link: a written null handle, result 0.
    ORHandle camera = reinterpret_cast<ORHandle>(0x1);
    EXPECT_EQ(control->RawCommand(ORV::DEVICECTRL_CAMERA_NODEMAP, nullptr, 0, &camera, &size), 0);
    EXPECT_EQ(camera, nullptr);
}

} // namespace

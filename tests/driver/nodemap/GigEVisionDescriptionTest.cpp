// A GigE camera described the way GigE Vision cameras describe themselves (BigEndian
// registers, the bootstrap block, strings, a float), downloaded from the camera or given
// as the user's file: its features read and write the camera's registers through the
// driver's GigE port on an old runtime, on 5.1 and on a current one, and the camera keeps
// the wire's byte order.
#include "driver/nodemap/NodeMapRig.h"

#include <ORGenApi/ORGenApi.h>

#include <simctl/SimControl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <tuple>
#include <vector>

using namespace nodemaptest;

namespace {

using Bytes = std::vector<uint8_t>;

std::string DescriptionPath() {
    return NODEMAP_TEST_DATA "/GigEVisionCamera.xml";
}

Bytes CameraBytes(uint64_t address, size_t length) {
    Bytes bytes(length);
    EXPECT_EQ(SimCtl_ReadCameraMemory("gcam", address, bytes.data(), length), SIMCTL_OK);
    return bytes;
}

std::string CameraText(uint64_t address, size_t length) {
    const Bytes bytes = CameraBytes(address, length);
    return std::string(bytes.begin(), bytes.end()).c_str();
}

/// Runtime, and whether the description is the user's file (`camxml`) rather than the
/// camera's download.
class GigEVisionDescription : public ::testing::TestWithParam<std::tuple<const char*, bool>> {};

TEST_P(GigEVisionDescription, FeaturesReadAndWriteTheCamerasBigEndianRegisters) {
    const auto [runtime, userFile] = GetParam();
    Machine machine;
    machine.technology = Technology::GigE;
    machine.runtime = runtime;
    machine.cameraLines = "Width = 1024\nHeight = 768\nPixelFormat = Mono12\n"
                          "DeviceModelName = Line Scanner 4K\nAcquisitionFrameRate = 12.5\n";
    if (userFile)
        machine.dmaLines = "camxml=" + DescriptionPath() + "\n";
    else
        machine.cameraLines += "xml = " + DescriptionPath() + "\n";
    NodeMapRig rig(machine);
    HostObject camera(rig.Channel().GetCameraNodeMap());
    ASSERT_TRUE(camera);
    ASSERT_EQ(ORGenApi_HasNode(camera.get(), "GevVersionMajor"), 1) << "the description in use";
    EXPECT_EQ(SimCtl_CallCount("Gbe_CameraDescription") > 0, !userFile);

    EXPECT_EQ(IntegerFeature(camera.get(), "Width"), 1024);
    EXPECT_EQ(IntegerFeature(camera.get(), "Height"), 768);
    EXPECT_EQ(IntegerFeature(camera.get(), "SensorWidth"), 1920);
    EXPECT_EQ(EnumFeature(camera.get(), "PixelFormat"), "Mono12");
    EXPECT_EQ(IntegerFeature(camera.get(), "PayloadSize"), 1024 * 768 * 2);
    EXPECT_DOUBLE_EQ(FloatFeature(camera.get(), "AcquisitionFrameRate"), 12.5);
    EXPECT_EQ(StringFeature(camera.get(), "DeviceModelName"), "Line Scanner 4K");
    EXPECT_EQ(StringFeature(camera.get(), "DeviceVendorName"), "Nordwell Sim");
    // Version 1.2 in one register: major in the high half, minor in the low one.
    EXPECT_EQ(IntegerFeature(camera.get(), "GevVersionMajor"), 1);
    EXPECT_EQ(IntegerFeature(camera.get(), "GevVersionMinor"), 2);

    ASSERT_EQ(ORGenApi_SetIntegerFeature(camera.get(), "Width", 640), 0);
    ASSERT_EQ(ORGenApi_SetIntegerFeature(camera.get(), "Height", 480), 0);
    ASSERT_EQ(ORGenApi_SetEnumFeature(camera.get(), "PixelFormat", "RGB8"), 0);
    ASSERT_EQ(ORGenApi_SetFloatFeature(camera.get(), "AcquisitionFrameRate", 60.25), 0);
    ASSERT_EQ(ORGenApi_SetStringFeature(camera.get(), "DeviceUserID", "Left line"), 0);

    // The camera holds every register in the wire's order.
    EXPECT_EQ(CameraBytes(0x1000, 4), (Bytes{0x00, 0x00, 0x02, 0x80}));
    EXPECT_EQ(CameraBytes(0x1004, 4), (Bytes{0x00, 0x00, 0x01, 0xE0}));
    EXPECT_EQ(CameraBytes(0x1010, 4), (Bytes{0x02, 0x18, 0x00, 0x14}));
    EXPECT_EQ(CameraBytes(0x1044, 4), (Bytes{0x42, 0x71, 0x00, 0x00})); // 60.25f
    EXPECT_EQ(CameraText(0x00E8, 16), "Left line");

    EXPECT_EQ(IntegerFeature(camera.get(), "Width"), 640);
    EXPECT_EQ(IntegerFeature(camera.get(), "Height"), 480);
    EXPECT_EQ(EnumFeature(camera.get(), "PixelFormat"), "RGB8");
    EXPECT_EQ(IntegerFeature(camera.get(), "PayloadSize"), 640 * 480 * 3);
    EXPECT_DOUBLE_EQ(FloatFeature(camera.get(), "AcquisitionFrameRate"), 60.25);
    EXPECT_EQ(StringFeature(camera.get(), "DeviceUserID"), "Left line");
}

INSTANTIATE_TEST_SUITE_P(RuntimesAndSources, GigEVisionDescription,
                         ::testing::Combine(::testing::Values("5.0.0", "5.1.0", "5.7.0"),
                                            ::testing::Bool()),
                         [](const auto& info) {
                             std::string name = std::get<0>(info.param);
                             name.erase(std::remove(name.begin(), name.end(), '.'), name.end());
                             return "Runtime" + name +
                                    (std::get<1>(info.param) ? "_UserFile" : "_Download");
                         });

} // namespace

// The register ports behind the node maps: GigE byte order per runtime, the
// CoaXPress camera's memory, the grabber's parameters, and their failures.
#include "driver/nodemap/NodeMapRig.h"

#include "support/ScopedCapture.h"

#include "nodemap/CoaXPressRegisterPort.h"
#include "nodemap/GigERegisterPort.h"
#include "nodemap/GrabberRegisterPort.h"
#include "sdk/GenICamEntryTable.h"

#include <ORGenApi/ORGenApi.h>
#include <ORV/ResultCodes.h>

#include <simctl/SimControl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstring>

using namespace nodemaptest;

namespace {

constexpr uint64_t WidthAddress = 0x1000; // Width in the simulated cameras' feature block

uint32_t BigEndianRegister(const char* camera, uint64_t address) {
    std::array<uint8_t, 4> bytes{};
    EXPECT_EQ(SimCtl_ReadCameraMemory(camera, address, bytes.data(), bytes.size()), SIMCTL_OK);
    return (uint32_t{bytes[0]} << 24) | (uint32_t{bytes[1]} << 16) | (uint32_t{bytes[2]} << 8) |
           bytes[3];
}

Machine GigEOn(const std::string& runtime) {
    Machine machine;
    machine.technology = Technology::GigE;
    machine.runtime = runtime;
    return machine;
}

class GigEByteOrder : public ::testing::TestWithParam<const char*> {};

TEST_P(GigEByteOrder, PortBytesFollowTheRuntimeAndTheFeatureIsRightOnBoth) {
    const std::string runtime = GetParam();
    const bool runtime51 = runtime == "5.1.0";
    NodeMapRig rig(GigEOn(runtime));
    CDriverChannel& channel = rig.Channel();
    ASSERT_NE(channel.GigECamera(), nullptr);
    EXPECT_EQ(CGigERegisterPort::ReversedRuntime(channel), runtime51);

    // What the GigE library hands over, and what the port makes of it.
    std::array<uint8_t, 4> library{};
    ASSERT_EQ(Gbe_MemoryRead(channel.GigECamera(), library.data(), WidthAddress, 4), 0);
    std::array<uint8_t, 4> port{};
    ASSERT_EQ(CGigERegisterPort::Read(port.data(), WidthAddress, 4, &channel), ORV::OK);
    std::array<uint8_t, 4> reversed = library;
    std::reverse(reversed.begin(), reversed.end());
    EXPECT_EQ(port, runtime51 ? library : reversed);
    // Together they hand the node map the camera's own, big-endian bytes.
    std::array<uint8_t, 4> wire{};
    ASSERT_EQ(SimCtl_ReadCameraMemory("gcam", WidthAddress, wire.data(), wire.size()), SIMCTL_OK);
    EXPECT_EQ(port, wire);

    HostObject camera(channel.GetCameraNodeMap());
    ASSERT_TRUE(camera);
    EXPECT_EQ(IntegerFeature(camera.get(), "Width"), BigEndianRegister("gcam", WidthAddress));
    ASSERT_EQ(ORGenApi_SetIntegerFeature(camera.get(), "Width", 0x0140), 0);
    EXPECT_EQ(BigEndianRegister("gcam", WidthAddress), 0x0140u) << "the camera keeps big-endian";
    EXPECT_EQ(IntegerFeature(camera.get(), "Width"), 0x0140);
}

INSTANTIATE_TEST_SUITE_P(Runtimes, GigEByteOrder, ::testing::Values("5.0.0", "5.1.0", "5.7.0"));

TEST(RegisterPort, GigEWrite_ReversedOnlyOn51) {
    for (const char* runtime : {"5.0.0", "5.1.0"}) {
        NodeMapRig rig(GigEOn(runtime));
        CDriverChannel& channel = rig.Channel();
        const std::array<uint8_t, 4> bytes = {0x00, 0x00, 0x01, 0x40}; // 320, big-endian
        ASSERT_EQ(CGigERegisterPort::Write(bytes.data(), WidthAddress, 4, &channel), ORV::OK);
        // Either way the camera ends up with the node map's value, in the wire's order.
        EXPECT_EQ(BigEndianRegister("gcam", WidthAddress), 320u) << runtime;
        EXPECT_EQ(bytes[3], 0x40) << "the caller's bytes are not touched";
    }
}

TEST(RegisterPort, GigEFailures_LoggedWithoutTheChannelPrefix) {
    ScopedCapture capture;
    NodeMapRig rig(GigEOn("5.7.0"));
    CDriverChannel& channel = rig.Channel();
    uint8_t bytes[4] = {};
    SimCtl_FailCall("Gbe_MemoryRead", -3011, 1);
    EXPECT_EQ(CGigERegisterPort::Read(bytes, WidthAddress, 4, &channel), ORV::E_FAIL);
    const auto read = capture->find("Error register read: ");
    ASSERT_TRUE(read);
    EXPECT_EQ(read->text, std::string("Error register read: ") + Gbe_ErrorText(-3011));
    EXPECT_EQ(read->level, nwLogging::level_warn);
    EXPECT_EQ(read->location.rfind("DriverChannel(", 0), 0u);

    SimCtl_FailCall("Gbe_MemoryWrite", -3012, 1);
    EXPECT_EQ(CGigERegisterPort::Write(bytes, WidthAddress, 4, &channel), ORV::E_FAIL);
    const auto write = capture->find("Error register write");
    ASSERT_TRUE(write);
    EXPECT_EQ(write->text, "Error register write");
}

TEST(RegisterPort, CoaXPressFeature_ReadsTheCamerasRegister) {
    Machine machine;
    machine.technology = Technology::CoaXPress;
    NodeMapRig rig(machine);
    ASSERT_NE(rig.Channel().CoaXPressCamera(), nullptr);
    HostObject camera(rig.Channel().GetCameraNodeMap());
    ASSERT_TRUE(camera);
    EXPECT_EQ(PortName(camera.get()), "Device");
    EXPECT_EQ(IntegerFeature(camera.get(), "Width"), BigEndianRegister("xcam", WidthAddress));
    ASSERT_EQ(ORGenApi_SetIntegerFeature(camera.get(), "Width", 800), 0);
    EXPECT_EQ(BigEndianRegister("xcam", WidthAddress), 800u);
    EXPECT_GE(SimCtl_CallCount("Sgc_memoryReadFromCameraWithTimeout"), 1);
}

TEST(RegisterPort, CoaXPressFailure_LoggedWithPrefixAddressAndDescription) {
    ScopedCapture capture;
    Machine machine;
    machine.technology = Technology::CoaXPress;
    NodeMapRig rig(machine);
    HostObject camera(rig.Channel().GetCameraNodeMap());
    ASSERT_TRUE(camera);
    SimCtl_FailCall("Sgc_memoryReadFromCameraWithTimeout", -4012, 1);
    int32_t result = 0;
    EXPECT_EQ(IntegerFeature(camera.get(), "Width", &result), -1);
    EXPECT_EQ(result, ORV::E_FAIL) << "the port's result reaches the host";
    const auto error = capture->find("Error register (0x1000) read: ");
    ASSERT_TRUE(error);
    EXPECT_EQ(error->text,
              std::string("\tBoard = 0 | Channel = 0\tError register (0x1000) read: ") +
                  GenICam().ErrorText(-4012));
    EXPECT_EQ(error->level, nwLogging::level_err);

    SimCtl_FailCall("Sgc_memoryWriteToCameraWithTimeout", -4013, 1);
    EXPECT_EQ(ORGenApi_SetIntegerFeature(camera.get(), "Width", 64), ORV::E_FAIL);
    EXPECT_TRUE(capture->contains("Error register (0x1000) write: " +
                                  std::string(GenICam().ErrorText(-4013))));
}

TEST(RegisterPort, Grabber_ParameterIdIsTheAddress) {
    ScopedCapture capture;
    NodeMapRig rig;
    CDriverChannel& channel = rig.Channel();
    HostObject dma(channel.GetDmaNodeMap());
    ASSERT_TRUE(dma);
    ASSERT_EQ(ORGenApi_SetIntegerFeature(dma.get(), "FG_WIDTH", 320), 0);
    uint32_t width = 0;
    ASSERT_TRUE(channel.GetParameter(100, width));
    EXPECT_EQ(width, 320u);

    SimCtl_FailCall("Fg_GetParameter", -2020, 1);
    EXPECT_EQ(IntegerFeature(dma.get(), "FG_HEIGHT"), -1);
    const auto read = capture->find("Error FG read: ");
    ASSERT_TRUE(read);
    EXPECT_EQ(read->text, "Error FG read: 200");
    EXPECT_EQ(read->level, nwLogging::level_warn);
    SimCtl_FailCall("Fg_SetParameter", -2021, 1);
    EXPECT_NE(ORGenApi_SetIntegerFeature(dma.get(), "FG_HEIGHT", 100), 0);
    EXPECT_TRUE(capture->contains("Error FG write: 200"));
}

TEST(RegisterPort, Grabber_ShortRegisterNeverWritesBeyondIt) {
    NodeMapRig rig;
    CDriverChannel& channel = rig.Channel();
    // A description may give a 4-byte parameter a 2-byte register.
    std::array<uint8_t, 8> buffer;
    buffer.fill(0xEE);
    ASSERT_EQ(CGrabberRegisterPort::Read(buffer.data(), 100, 2, &channel), ORV::OK);
    EXPECT_EQ(buffer[0] | (buffer[1] << 8), 640);
    for (size_t i = 2; i < buffer.size(); ++i)
        EXPECT_EQ(buffer[i], 0xEE) << "byte " << i;
    const uint16_t narrow = 800;
    ASSERT_EQ(CGrabberRegisterPort::Write(&narrow, 100, 2, &channel), ORV::OK);
    uint32_t width = 0;
    ASSERT_TRUE(channel.GetParameter(100, width));
    EXPECT_EQ(width, 800u) << "the missing bytes are zeros, not the caller's memory";
}

TEST(RegisterPort, ThirdOperationAnswersFour) {
    NodeMapRig rig;
    HostObject dma(rig.Channel().GetDmaNodeMap());
    ASSERT_TRUE(dma);
    int32_t mode = 0;
    ASSERT_EQ(ORGenApi_GetPortAccess(dma.get(), 100, 4, &mode), 0);
    EXPECT_EQ(mode, 4);
    EXPECT_EQ(CRegisterPort::Access(0, 0, nullptr), 4);
}

TEST(RegisterPort, NullContextOrBuffer_IsAnInvalidArgument) {
    uint8_t byte = 0;
    EXPECT_EQ(CGigERegisterPort::Read(&byte, 0, 1, nullptr), ORV::E_INVALIDARG);
    EXPECT_EQ(CGigERegisterPort::Write(&byte, 0, 1, nullptr), ORV::E_INVALIDARG);
    EXPECT_EQ(CCoaXPressRegisterPort::Read(&byte, 0, 1, nullptr), ORV::E_INVALIDARG);
    EXPECT_EQ(CCoaXPressRegisterPort::Write(&byte, 0, 1, nullptr), ORV::E_INVALIDARG);
    EXPECT_EQ(CGrabberRegisterPort::Read(&byte, 0, 1, nullptr), ORV::E_INVALIDARG);
    EXPECT_EQ(CGrabberRegisterPort::Write(&byte, 0, 1, nullptr), ORV::E_INVALIDARG);
    NodeMapRig rig;
    EXPECT_EQ(CGrabberRegisterPort::Read(nullptr, 100, 4, &rig.Channel()), ORV::E_INVALIDARG);
    EXPECT_EQ(CGrabberRegisterPort::Read(&byte, 100, -1, &rig.Channel()), ORV::E_INVALIDARG);
}

} // namespace

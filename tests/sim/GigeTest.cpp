// gbelib: boards, port scans, camera handles, connections, registers and byte order.
#include "SimTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>

using namespace simtest;

namespace {

std::string GigeMachine(const std::string& runtime) {
    return "[machine]\nruntime = " + runtime +
           "\n"
           "[board0]\ntype = 3652\ndmas = 4\n"
           "port0 = left, right\nport1 = single\nport2 = slow\n"
           "[board1]\ntype = 1873\n"
           "[camera:left]\nWidth = 1024\nHeight = 768\n"
           "[camera:right]\n"
           "[camera:single]\nDeviceModelName = TestCam\nreg_0x2000 = 0x11223344\n"
           "[camera:slow]\nanswer_ms = 500\n";
}

class GigeTest : public ::testing::Test {
protected:
    void SetUp() override { UseMachine(GigeMachine("5.0.0")); }

    static std::uint32_t RawRegister(const char* camera, std::uint64_t address) {
        std::uint8_t bytes[4] = {};
        EXPECT_EQ(SimCtl_ReadCameraMemory(camera, address, bytes, 4), SIMCTL_OK);
        return (std::uint32_t{bytes[0]} << 24) | (std::uint32_t{bytes[1]} << 16) |
               (std::uint32_t{bytes[2]} << 8) | bytes[3];
    }
};

TEST_F(GigeTest, OpenBoard_OnlyGigeBoardsOnceEach) {
    Gbe_Board* board = nullptr;
    EXPECT_EQ(Gbe_OpenBoard(1, 0, &board), GBE_ERR_NOT_GIGE_BOARD);
    EXPECT_EQ(Gbe_OpenBoard(2, 0, &board), GBE_ERR_NO_SUCH_BOARD);
    EXPECT_EQ(Gbe_OpenBoard(0, 1, &board), GBE_ERR_INVALID_ARGUMENT);
    EXPECT_EQ(Gbe_OpenBoard(0, 0, nullptr), GBE_ERR_INVALID_ARGUMENT);
    GigeBoard open(0);
    ASSERT_EQ(open.Result(), GBE_OK);
    EXPECT_EQ(Gbe_OpenBoard(0, 0, &board), GBE_ERR_BOARD_BUSY);
    EXPECT_EQ(SimCtl_ResetMachine(), SIMCTL_ERR_BUSY);
    EXPECT_STRNE(Gbe_ErrorText(GBE_ERR_BOARD_BUSY), Gbe_ErrorText(GBE_ERR_NO_SUCH_BOARD));
    EXPECT_STREQ(Gbe_ErrorText(GBE_OK), "no error");
}

TEST_F(GigeTest, ScanPort_FindsTheCamerasThatAnswerWithinTheTimeout) {
    GigeBoard board(0);
    ASSERT_EQ(board.Result(), GBE_OK);
    EXPECT_EQ(Gbe_CameraCount(board.get(), 0), 0);
    ASSERT_EQ(Gbe_ScanPort(board.get(), 0, 200), GBE_OK);
    EXPECT_EQ(Gbe_CameraCount(board.get(), 0), 2);
    ASSERT_EQ(Gbe_ScanPort(board.get(), 1, 200), GBE_OK);
    EXPECT_EQ(Gbe_CameraCount(board.get(), 1), 1);
    ASSERT_EQ(Gbe_ScanPort(board.get(), 2, 200), GBE_OK);
    EXPECT_EQ(Gbe_CameraCount(board.get(), 2), 0);
    ASSERT_EQ(Gbe_ScanPort(board.get(), 2, 1000), GBE_OK);
    EXPECT_EQ(Gbe_CameraCount(board.get(), 2), 1);
    ASSERT_EQ(Gbe_ScanPort(board.get(), 3, 200), GBE_OK);
    EXPECT_EQ(Gbe_CameraCount(board.get(), 3), 0);
    EXPECT_LT(Gbe_ScanPort(board.get(), 4, 200), 0);
    EXPECT_LT(Gbe_CameraCount(board.get(), 4), 0);
    EXPECT_EQ(Gbe_ScanPort(board.get(), 0, 0), GBE_ERR_INVALID_ARGUMENT);

    Gbe_Camera* camera = nullptr;
    EXPECT_EQ(Gbe_FirstCamera(board.get(), 3, &camera), GBE_ERR_NO_CAMERA);
}

TEST_F(GigeTest, Connect_OneConnectionPerCameraAndReleaseDropsIt) {
    GigeBoard board(0);
    ASSERT_EQ(Gbe_ScanPort(board.get(), 0, 200), GBE_OK);
    GigeCamera first(board.get(), 0);
    GigeCamera second(board.get(), 0);
    ASSERT_EQ(first.Result(), GBE_OK);
    ASSERT_EQ(second.Result(), GBE_OK);

    EXPECT_EQ(Gbe_Disconnect(first.get()), GBE_ERR_NOT_CONNECTED);
    ASSERT_EQ(Gbe_Connect(first.get()), GBE_OK);
    EXPECT_EQ(Gbe_Connect(first.get()), GBE_ERR_ALREADY_CONNECTED);
    EXPECT_EQ(Gbe_Connect(second.get()), GBE_ERR_CAMERA_BUSY);
    EXPECT_EQ(SimCtl_CameraState("left") & SIM_CAMERA_CONNECTED, SIM_CAMERA_CONNECTED);

    ASSERT_EQ(Gbe_StartAcquisition(first.get()), GBE_OK);
    EXPECT_EQ(SimCtl_CameraState("left") & SIM_CAMERA_ACQUIRING, SIM_CAMERA_ACQUIRING);
    EXPECT_EQ(Gbe_StartAcquisition(second.get()), GBE_ERR_NOT_CONNECTED);
    ASSERT_EQ(Gbe_StopAcquisition(first.get()), GBE_OK);
    EXPECT_EQ(SimCtl_CameraState("left") & SIM_CAMERA_ACQUIRING, 0);

    Gbe_Camera* firstHandle = first.get();
    ASSERT_EQ(Gbe_ReleaseCamera(firstHandle), GBE_OK);
    EXPECT_EQ(SimCtl_CameraState("left") & SIM_CAMERA_CONNECTED, 0);
    EXPECT_EQ(Gbe_Connect(firstHandle), GBE_ERR_INVALID_HANDLE);
    EXPECT_EQ(Gbe_Connect(second.get()), GBE_OK);
    // The wrapper releases the handle again; a second release only reports the bad handle.
}

TEST_F(GigeTest, CloseBoard_DropsCameraHandlesAndConnections) {
    Gbe_Board* board = nullptr;
    ASSERT_EQ(Gbe_OpenBoard(0, 0, &board), GBE_OK);
    ASSERT_EQ(Gbe_ScanPort(board, 1, 200), GBE_OK);
    Gbe_Camera* camera = nullptr;
    ASSERT_EQ(Gbe_FirstCamera(board, 1, &camera), GBE_OK);
    ASSERT_EQ(Gbe_Connect(camera), GBE_OK);
    ASSERT_EQ(Gbe_CloseBoard(board), GBE_OK);
    EXPECT_EQ(SimCtl_CameraState("single") & SIM_CAMERA_CONNECTED, 0);
    EXPECT_EQ(Gbe_Disconnect(camera), GBE_ERR_INVALID_HANDLE);
    EXPECT_EQ(Gbe_CloseBoard(board), GBE_ERR_INVALID_HANDLE);
    EXPECT_EQ(SimCtl_ResetMachine(), SIMCTL_OK);
}

class GigeByteOrderTest : public ::testing::TestWithParam<const char*> {
protected:
    void SetUp() override { UseMachine(GigeMachine(GetParam())); }
    static bool Runtime51() { return std::string(GetParam()) == "5.1.0"; }
};

TEST_P(GigeByteOrderTest, ReadsReversedExceptOn51_WritesReversedOnlyOn51) {
    GigeBoard board(0);
    ASSERT_EQ(Gbe_ScanPort(board.get(), 0, 200), GBE_OK);
    GigeCamera camera(board.get(), 0);
    ASSERT_EQ(Gbe_Connect(camera.get()), GBE_OK);

    // Width = 1024 and Height = 768 lie big-endian in the camera; a read is reversed as a
    // whole, not register by register.
    std::uint8_t bytes[8] = {};
    ASSERT_EQ(Gbe_MemoryRead(camera.get(), bytes, 0x1000, 8), GBE_OK);
    const std::uint8_t wire[8] = {0x00, 0x00, 0x04, 0x00, 0x00, 0x00, 0x03, 0x00};
    const std::uint8_t reversed[8] = {0x00, 0x03, 0x00, 0x00, 0x00, 0x04, 0x00, 0x00};
    EXPECT_EQ(std::memcmp(bytes, Runtime51() ? wire : reversed, 8), 0);

    // Runtime 5.1 reverses what it writes, every other runtime writes the bytes as given;
    // given the matching order, 640 ends up big-endian in the camera.
    const std::uint8_t bigEndian640[4] = {0x00, 0x00, 0x02, 0x80};
    const std::uint8_t littleEndian640[4] = {0x80, 0x02, 0x00, 0x00};
    ASSERT_EQ(
        Gbe_MemoryWrite(camera.get(), Runtime51() ? littleEndian640 : bigEndian640, 0x1000, 4),
        GBE_OK);
    std::uint8_t raw[4] = {};
    ASSERT_EQ(SimCtl_ReadCameraMemory("left", 0x1000, raw, 4), SIMCTL_OK);
    EXPECT_EQ(std::memcmp(raw, bigEndian640, 4), 0);
}

INSTANTIATE_TEST_SUITE_P(Runtimes, GigeByteOrderTest, ::testing::Values("5.0.0", "5.1.0", "5.7.0"),
                         [](const auto& info) {
                             std::string name = std::string("Runtime") + info.param;
                             name.erase(std::remove(name.begin(), name.end(), '.'), name.end());
                             return name;
                         });

TEST_F(GigeTest, Registers_ReadOnlyRangesCommandsAndDerivedPayload) {
    GigeBoard board(0);
    ASSERT_EQ(Gbe_ScanPort(board.get(), 0, 200), GBE_OK);
    GigeCamera camera(board.get(), 0);
    // Runtime 5.0 writes the bytes as given: big-endian values.
    std::uint8_t bytes[4] = {0, 0, 0, 1};
    EXPECT_EQ(Gbe_MemoryRead(camera.get(), bytes, 0x1000, 4), GBE_ERR_NOT_CONNECTED);
    ASSERT_EQ(Gbe_Connect(camera.get()), GBE_OK);

    EXPECT_EQ(RawRegister("left", 0x101C), 1024u * 768u); // PayloadSize
    EXPECT_EQ(Gbe_MemoryWrite(camera.get(), bytes, 0x1014, 4), GBE_ERR_ACCESS_DENIED);
    const std::uint8_t tooWide[4] = {0x00, 0x00, 0x13, 0x88}; // 5000 > SensorWidth 1920
    EXPECT_EQ(Gbe_MemoryWrite(camera.get(), tooWide, 0x1000, 4), GBE_ERR_INVALID_VALUE);
    EXPECT_EQ(RawRegister("left", 0x1000), 1024u);
    EXPECT_EQ(Gbe_MemoryRead(camera.get(), bytes, 0x4000, 4), GBE_ERR_ADDRESS);
    EXPECT_EQ(Gbe_MemoryRead(camera.get(), bytes, 0x3FFE, 4), GBE_ERR_ADDRESS);

    const std::uint8_t width640[4] = {0x00, 0x00, 0x02, 0x80};
    ASSERT_EQ(Gbe_MemoryWrite(camera.get(), width640, 0x1000, 4), GBE_OK);
    EXPECT_EQ(RawRegister("left", 0x101C), 640u * 768u);

    const std::uint8_t command[4] = {0x00, 0x00, 0x00, 0x01};
    ASSERT_EQ(Gbe_MemoryWrite(camera.get(), command, 0x1024, 4), GBE_OK); // AcquisitionStart
    EXPECT_EQ(RawRegister("left", 0x102C), 1u);
    EXPECT_EQ(RawRegister("left", 0x1024), 0u); // commands clear themselves
    ASSERT_EQ(Gbe_MemoryWrite(camera.get(), command, 0x103C, 4), GBE_OK); // TriggerSoftware
    EXPECT_EQ(RawRegister("left", 0x1040), 1u);

    EXPECT_EQ(RawRegister("single", 0x2000), 0x11223344u);
    char model[32] = {};
    ASSERT_EQ(SimCtl_ReadCameraMemory("single", 0x68, model, sizeof(model)), SIMCTL_OK);
    EXPECT_STREQ(model, "TestCam");
}

TEST_F(GigeTest, CameraDescription_NeedsConnection_SizedThenRead) {
    GigeBoard board(0);
    ASSERT_EQ(Gbe_ScanPort(board.get(), 1, 200), GBE_OK);
    GigeCamera camera(board.get(), 1);
    std::size_t size = 0;
    EXPECT_EQ(Gbe_CameraDescription(camera.get(), nullptr, &size), GBE_ERR_NOT_CONNECTED);
    ASSERT_EQ(Gbe_Connect(camera.get()), GBE_OK);
    ASSERT_EQ(Gbe_CameraDescription(camera.get(), nullptr, &size), GBE_OK);
    std::string text(size, '\0');
    std::size_t tooSmall = size - 1;
    EXPECT_EQ(Gbe_CameraDescription(camera.get(), text.data(), &tooSmall),
              GBE_ERR_BUFFER_TOO_SMALL);
    ASSERT_EQ(Gbe_CameraDescription(camera.get(), text.data(), &size), GBE_OK);
    EXPECT_NE(text.find("<Integer Name=\"Width\""), std::string::npos);
    EXPECT_NE(text.find("<Endianess>BigEndian</Endianess>"), std::string::npos);
    EXPECT_EQ(text.find("LittleEndian"), std::string::npos);
    EXPECT_NE(text.find("<StringReg Name=\"DeviceModelName\""), std::string::npos);
    EXPECT_NE(text.find("<FloatReg Name=\"AcquisitionFrameRateReg\""), std::string::npos);
    EXPECT_NE(text.find("ModelName=\"TestCam\""), std::string::npos);
    EXPECT_EQ(Gbe_CameraDescription(camera.get(), text.data(), nullptr), GBE_ERR_INVALID_ARGUMENT);
}

TEST_F(GigeTest, ControlWrites_BypassAccessRulesButKeepDerivedRegisters) {
    const std::uint8_t sensor[4] = {0x00, 0x00, 0x10, 0x00};
    ASSERT_EQ(SimCtl_WriteCameraMemory("right", 0x1014, sensor, 4), SIMCTL_OK);
    EXPECT_EQ(RawRegister("right", 0x1014), 4096u);
    EXPECT_EQ(SimCtl_WriteCameraMemory("nobody", 0, sensor, 4), SIMCTL_ERR_NO_CAMERA);
    EXPECT_EQ(SimCtl_ReadCameraMemory("right", 0x4000, nullptr, 0), SIMCTL_ERR_RANGE);
    EXPECT_EQ(SimCtl_CameraState("right"), SIM_CAMERA_POWERED);
}

} // namespace

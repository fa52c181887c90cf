// siso_genicam.dll, loaded at run time: loading, GenICam boards, scans, layouts, links,
// connections, registers and camera information.
#include "SgcLibrary.h"
#include "SimTestSupport.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

using namespace simtest;

namespace {

const char* const kCxpMachine = "[machine]\nruntime = 5.7.0\n"
                                "[board0]\ntype = 2646\ndmas = 4\n"
                                "cameras = cxpA, -, cxpB, cxpC\nanswering = 2\n"
                                "[board1]\ntype = 1873\n"
                                "[camera:cxpA]\nWidth = 800\n"
                                "[camera:cxpB]\nDeviceVendorName = Acme\n"
                                "[camera:cxpC]\n";

TEST(SgcLibraryTest, Complete_ResolvesAllTwentyOneNames) {
    SgcLibrary library(SIM_SGC_LIBRARY);
    ASSERT_TRUE(library.loaded());
    EXPECT_TRUE(library.resolve());
    for (const char* name : SGC_ENTRY_NAMES) {
        EXPECT_NE(library.symbol(name), nullptr) << name;
    }
}

TEST(SgcLibraryTest, Incomplete_LacksOnlyGetCameraPropertyWithType) {
    SgcLibrary library(SIM_SGC_INCOMPLETE_LIBRARY);
    ASSERT_TRUE(library.loaded());
    EXPECT_FALSE(library.resolve());
    EXPECT_EQ(library.initBoard, nullptr);
    for (const char* name : SGC_ENTRY_NAMES) {
        const bool missing = std::string(name) == "Sgc_getCameraPropertyWithType";
        EXPECT_EQ(library.symbol(name) == nullptr, missing) << name;
    }
}

class CxpTest : public ::testing::Test {
protected:
    void SetUp() override {
        useMachine(kCxpMachine);
        ASSERT_TRUE(m_library.loaded());
        ASSERT_TRUE(m_library.resolve());
        m_board = std::make_unique<Board>(m_dir.Write("applet.ini", ""), 0);
        ASSERT_TRUE(*m_board);
        ASSERT_EQ(m_library.initBoard(m_board->get(), 0, &m_sgc), SGC_OK);
    }

    void TearDown() override {
        if (m_sgc != nullptr) {
            m_library.freeBoard(m_sgc);
        }
    }

    SgcCamera* camera(unsigned index) {
        SgcCamera* found = nullptr;
        EXPECT_EQ(m_library.getCameraByIndex(m_sgc, index, &found), SGC_OK);
        return found;
    }

    std::uint32_t port(SgcCamera* camera) {
        std::uint32_t value = 99;
        std::size_t size = sizeof(value);
        EXPECT_EQ(m_library.getCameraInfo(camera, SGC_INFO_PORT, &value, &size), SGC_OK);
        return value;
    }

    SgcCamera* connected(unsigned index) {
        SgcCamera* found = camera(index);
        EXPECT_EQ(m_library.linkConnect(m_sgc, found), SGC_OK);
        EXPECT_EQ(m_library.connectCamera(found), SGC_OK);
        return found;
    }

    SgcLibrary m_library{SIM_SGC_LIBRARY};
    TempDir m_dir;
    std::unique_ptr<Board> m_board;
    SgcBoard* m_sgc = nullptr;
};

TEST_F(CxpTest, InitBoard_NeedsAnOpenCoaXPressGrabberOnce) {
    SgcBoard* other = nullptr;
    EXPECT_EQ(m_library.initBoard(m_board->get(), 0, &other), SGC_ERR_BOARD_BUSY);
    EXPECT_EQ(m_library.initBoard(m_board->get(), 1, &other), SGC_ERR_INVALID_ARGUMENT);
    EXPECT_EQ(m_library.initBoard(nullptr, 0, &other), SGC_ERR_INVALID_GRABBER);
    Board cameraLink(m_dir.Write("cl.ini", ""), 1);
    ASSERT_TRUE(cameraLink);
    EXPECT_EQ(m_library.initBoard(cameraLink.get(), 0, &other), SGC_ERR_NOT_CXP_BOARD);
    EXPECT_STRNE(m_library.getErrorDescription(SGC_ERR_NOT_CXP_BOARD),
                 m_library.getErrorDescription(SGC_ERR_BOARD_BUSY));
}

TEST_F(CxpTest, Scan_FindsAnsweringCamerasInPortOrderAndReportsTheSilentOne) {
    EXPECT_EQ(m_library.getCameraCount(m_sgc), 0);
    EXPECT_EQ(m_library.scanPorts(m_sgc, SGC_ALL_PORTS, 10000, 0x38), SGC_ERR_DISCOVERY_TIMEOUT);
    ASSERT_EQ(m_library.getCameraCount(m_sgc), 2);
    EXPECT_EQ(port(camera(0)), 0u);
    EXPECT_EQ(port(camera(1)), 2u);
    SgcCamera* none = nullptr;
    EXPECT_EQ(m_library.getCameraByIndex(m_sgc, 2, &none), SGC_ERR_NO_SUCH_CAMERA);

    // Scanning only the answering ports succeeds.
    EXPECT_EQ(m_library.scanPorts(m_sgc, 0x5, 10000, 0x38), SGC_OK);
    EXPECT_EQ(m_library.getCameraCount(m_sgc), 2);
    std::uint32_t speed = 0;
    std::size_t size = sizeof(speed);
    ASSERT_EQ(m_library.getCameraInfo(camera(0), SGC_INFO_LINK_SPEED, &speed, &size), SGC_OK);
    EXPECT_EQ(speed, 0x38u);

    EXPECT_EQ(m_library.scanPorts(m_sgc, 0, 10000, 0x38), SGC_ERR_INVALID_ARGUMENT);
    EXPECT_EQ(m_library.scanPorts(m_sgc, 0x10, 10000, 0x38), SGC_ERR_INVALID_ARGUMENT);
    EXPECT_EQ(m_library.scanPorts(m_sgc, 0xF, 10000, 0x39), SGC_ERR_INVALID_SPEED);
}

TEST_F(CxpTest, Layout_MakesListedCamerasKnownWithoutScanning) {
    const std::string layout =
        m_dir.Write("layout.ini", "[camera0]\nport = 3\nspeed = 0x48\n[camera1]\nport = 0\n");
    ASSERT_EQ(m_library.loadBoardConfiguration(m_sgc, layout.c_str()), SGC_OK);
    ASSERT_EQ(m_library.getCameraCount(m_sgc), 2);
    EXPECT_EQ(port(camera(0)), 3u);
    EXPECT_EQ(port(camera(1)), 0u);

    EXPECT_EQ(m_library.loadBoardConfiguration(m_sgc, ""), SGC_ERR_LAYOUT_FILE);
    EXPECT_EQ(m_library.loadBoardConfiguration(m_sgc, nullptr), SGC_ERR_LAYOUT_FILE);
    EXPECT_EQ(m_library.loadBoardConfiguration(m_sgc, m_dir.File("no.ini").c_str()),
              SGC_ERR_LAYOUT_FILE);
    const std::string emptyPort = m_dir.Write("bad.ini", "[camera0]\nport = 1\n");
    EXPECT_EQ(m_library.loadBoardConfiguration(m_sgc, emptyPort.c_str()), SGC_ERR_LAYOUT_FILE);
    const std::string twice =
        m_dir.Write("twice.ini", "[camera0]\nport = 0\n[camera1]\nport = 0\n");
    EXPECT_EQ(m_library.loadBoardConfiguration(m_sgc, twice.c_str()), SGC_ERR_LAYOUT_FILE);
    EXPECT_EQ(m_library.getCameraCount(m_sgc), 2);
}

TEST_F(CxpTest, LinkAndConnect_InOrder_AndDisconnectFallsBackToLinkDisconnect) {
    ASSERT_EQ(m_library.scanPorts(m_sgc, 0x5, 10000, 0x38), SGC_OK);
    SgcCamera* cam = camera(0);
    EXPECT_EQ(m_library.connectCamera(cam), SGC_ERR_LINK_DOWN);
    ASSERT_EQ(m_library.linkConnect(m_sgc, cam), SGC_OK);
    EXPECT_EQ(SimCtl_CameraState("cxpA") & SIM_CAMERA_LINK_UP, SIM_CAMERA_LINK_UP);
    ASSERT_EQ(m_library.connectCamera(cam), SGC_OK);
    EXPECT_EQ(SimCtl_CameraState("cxpA") & SIM_CAMERA_CONNECTED, SIM_CAMERA_CONNECTED);

    ASSERT_EQ(m_library.disconnectCamera(cam), SGC_OK);
    EXPECT_EQ(m_library.disconnectCamera(cam), SGC_ERR_NOT_CONNECTED);
    EXPECT_EQ(m_library.linkDisconnect(cam), SGC_OK);
    EXPECT_EQ(m_library.linkDisconnect(cam), SGC_ERR_LINK_DOWN);
    EXPECT_EQ(SimCtl_CameraState("cxpA") & (SIM_CAMERA_LINK_UP | SIM_CAMERA_CONNECTED), 0);
}

TEST_F(CxpTest, LinkConnect_FailingOnce_SucceedsOnTheSecondCall) {
    ASSERT_EQ(m_library.scanPorts(m_sgc, 0x5, 10000, 0x38), SGC_OK);
    ASSERT_EQ(SimCtl_FailCall("Sgc_LinkConnect", SGC_ERR_LINK_DOWN, 1), SIMCTL_OK);
    SgcCamera* cam = camera(1);
    EXPECT_EQ(m_library.linkConnect(m_sgc, cam), SGC_ERR_LINK_DOWN);
    EXPECT_EQ(m_library.linkConnect(m_sgc, cam), SGC_OK);
    EXPECT_EQ(SimCtl_CallCount("Sgc_LinkConnect"), 2);
}

TEST_F(CxpTest, Registers_BigEndianOnEveryRuntime_WithRegisterHelpers) {
    ASSERT_EQ(m_library.scanPorts(m_sgc, 0x5, 10000, 0x38), SGC_OK);
    SgcCamera* cam = connected(0);
    std::uint8_t bytes[4] = {};
    ASSERT_EQ(m_library.memoryRead(cam, bytes, 0x1000, 4, 10000), SGC_OK);
    const std::uint8_t width800[4] = {0x00, 0x00, 0x03, 0x20};
    EXPECT_EQ(std::memcmp(bytes, width800, 4), 0);

    std::uint32_t magic = 0;
    ASSERT_EQ(m_library.registerReadFromCamera(cam, &magic, 0x0), SGC_OK);
    EXPECT_EQ(magic, 0xC0A79AE5u);
    ASSERT_EQ(m_library.registerWriteToCamera(cam, 320, 0x1000), SGC_OK);
    std::uint32_t payload = 0;
    ASSERT_EQ(m_library.registerReadFromCamera(cam, &payload, 0x101C), SGC_OK);
    EXPECT_EQ(payload, 320u * 480u);

    const std::uint8_t one[4] = {0, 0, 0, 1};
    EXPECT_EQ(m_library.memoryWrite(cam, one, 0x0, 4, 10000), SGC_ERR_ACCESS_DENIED);
    EXPECT_EQ(m_library.memoryWrite(cam, one, 0x1000, 4, 0), SGC_ERR_INVALID_ARGUMENT);
    EXPECT_EQ(m_library.memoryRead(cam, bytes, 0x3FFF, 4, 10000), SGC_ERR_ADDRESS);
    EXPECT_EQ(m_library.memoryRead(camera(1), bytes, 0x1000, 4, 10000), SGC_ERR_LINK_DOWN);
}

TEST_F(CxpTest, Acquisition_WithCameraFlagStartsTheCamera) {
    ASSERT_EQ(m_library.scanPorts(m_sgc, 0x5, 10000, 0x38), SGC_OK);
    SgcCamera* cam = connected(0);
    ASSERT_EQ(m_library.startAcquisition(cam, SGC_DMA_ONLY), SGC_OK);
    EXPECT_EQ(SimCtl_CameraState("cxpA") & SIM_CAMERA_ACQUIRING, 0);
    ASSERT_EQ(m_library.startAcquisition(cam, SGC_WITH_CAMERA), SGC_OK);
    EXPECT_EQ(SimCtl_CameraState("cxpA") & SIM_CAMERA_ACQUIRING, SIM_CAMERA_ACQUIRING);
    ASSERT_EQ(m_library.stopAcquisition(cam, SGC_WITH_CAMERA), SGC_OK);
    EXPECT_EQ(SimCtl_CameraState("cxpA") & SIM_CAMERA_ACQUIRING, 0);
    EXPECT_EQ(m_library.startAcquisition(cam, 2), SGC_ERR_INVALID_ARGUMENT);
    EXPECT_EQ(m_library.startAcquisition(camera(1), SGC_WITH_CAMERA), SGC_ERR_LINK_DOWN);
}

TEST_F(CxpTest, GenICamXml_NeedsConnection_BigEndianWithStrings) {
    ASSERT_EQ(m_library.scanPorts(m_sgc, 0x5, 10000, 0x38), SGC_OK);
    std::size_t size = 0;
    EXPECT_EQ(m_library.getGenICamXML(camera(1), nullptr, &size), SGC_ERR_LINK_DOWN);
    SgcCamera* cam = connected(1);
    ASSERT_EQ(m_library.getGenICamXML(cam, nullptr, &size), SGC_OK);
    std::string text(size, '\0');
    ASSERT_EQ(m_library.getGenICamXML(cam, text.data(), &size), SGC_OK);
    EXPECT_NE(text.find("<Endianess>BigEndian</Endianess>"), std::string::npos);
    EXPECT_NE(text.find("<StringReg Name=\"DeviceVendorName\""), std::string::npos);
    EXPECT_NE(text.find("VendorName=\"Acme\""), std::string::npos);
}

TEST_F(CxpTest, CameraInfoAndProperties_SizeProtocolAndTypes) {
    ASSERT_EQ(m_library.scanPorts(m_sgc, 0x5, 10000, 0x38), SGC_OK);
    SgcCamera* cam = camera(1);
    std::size_t size = 0;
    ASSERT_EQ(m_library.getCameraInfo(cam, SGC_INFO_VENDOR_NAME, nullptr, &size), SGC_OK);
    EXPECT_EQ(size, 5u);
    char vendor[5] = {};
    ASSERT_EQ(m_library.getCameraInfo(cam, SGC_INFO_VENDOR_NAME, vendor, &size), SGC_OK);
    EXPECT_STREQ(vendor, "Acme");
    size = 2;
    EXPECT_EQ(m_library.getCameraInfo(cam, SGC_INFO_VENDOR_NAME, vendor, &size),
              SGC_ERR_BUFFER_TOO_SMALL);
    EXPECT_EQ(m_library.getCameraInfo(cam, 77, vendor, &size), SGC_ERR_UNKNOWN_PROPERTY);

    unsigned type = 0;
    std::uint32_t portValue = 0;
    size = sizeof(portValue);
    ASSERT_EQ(m_library.getCameraPropertyWithType(cam, "PortIndex", &portValue, &type, &size),
              SGC_OK);
    EXPECT_EQ(type, static_cast<unsigned>(SGC_PROPERTY_UINT32));
    EXPECT_EQ(portValue, 2u);
    ASSERT_EQ(m_library.getCameraPropertyWithType(cam, "DeviceModelName", nullptr, &type, &size),
              SGC_OK);
    EXPECT_EQ(type, static_cast<unsigned>(SGC_PROPERTY_STRING));
    EXPECT_EQ(size, std::strlen("SimCam CXP") + 1);
    EXPECT_EQ(m_library.getCameraPropertyWithType(cam, "Colour", nullptr, &type, &size),
              SGC_ERR_UNKNOWN_PROPERTY);
}

TEST_F(CxpTest, PowerOff_DropsTheCameraUntilTheNextScan) {
    ASSERT_EQ(m_library.scanPorts(m_sgc, 0x5, 10000, 0x38), SGC_OK);
    SgcCamera* cam = connected(0);
    ASSERT_EQ(m_library.powerSwitchExt(m_sgc, 0x1, SGC_POWER_OFF), SGC_OK);
    EXPECT_EQ(SimCtl_CameraState("cxpA"), 0);
    EXPECT_EQ(m_library.getCameraCount(m_sgc), 1);
    EXPECT_EQ(m_library.linkConnect(m_sgc, cam), SGC_ERR_POWERED_OFF);
    EXPECT_EQ(m_library.scanPorts(m_sgc, 0x1, 10000, 0x38), SGC_ERR_DISCOVERY_TIMEOUT);
    ASSERT_EQ(m_library.powerSwitchExt(m_sgc, 0x1, SGC_POWER_ON), SGC_OK);
    EXPECT_EQ(m_library.scanPorts(m_sgc, 0x1, 10000, 0x38), SGC_OK);
    EXPECT_EQ(m_library.getCameraCount(m_sgc), 2);
    EXPECT_EQ(m_library.powerSwitchExt(m_sgc, 0x1, 5), SGC_ERR_INVALID_ARGUMENT);
}

TEST_F(CxpTest, FreeBoard_TakesLinksDownAndInvalidatesHandles) {
    ASSERT_EQ(m_library.scanPorts(m_sgc, 0x5, 10000, 0x38), SGC_OK);
    SgcCamera* cam = connected(0);
    m_library.freeBoard(m_sgc);
    m_sgc = nullptr;
    EXPECT_EQ(SimCtl_CameraState("cxpA") & (SIM_CAMERA_LINK_UP | SIM_CAMERA_CONNECTED), 0);
    EXPECT_EQ(m_library.connectCamera(cam), SGC_ERR_INVALID_HANDLE);
    // The grabber can get a GenICam board again.
    SgcBoard* again = nullptr;
    ASSERT_EQ(m_library.initBoard(m_board->get(), 0, &again), SGC_OK);
    m_sgc = again;
}

TEST_F(CxpTest, GrabberClosedFirst_BoardCallsReportTheGrabber) {
    m_board.reset();
    EXPECT_EQ(m_library.getCameraCount(m_sgc), SGC_ERR_INVALID_GRABBER);
    EXPECT_EQ(m_library.scanPorts(m_sgc, 0xF, 10000, 0x38), SGC_ERR_INVALID_GRABBER);
}

} // namespace

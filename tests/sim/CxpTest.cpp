// siso_genicam.dll, loaded at run time: loading, GenICam boards, scans, layouts, links,
// connections, registers and camera information.
#include "SgcLibrary.h"
#include "SimTestSupport.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

using namespace simtest;

namespace {

const char* const cxpMachine = "[machine]\nruntime = 5.7.0\n"
                               "[board0]\ntype = 2646\ndmas = 4\n"
                               "cameras = cxpA, -, cxpB, cxpC\nanswering = 2\n"
                               "[board1]\ntype = 1873\n"
                               "[camera:cxpA]\nWidth = 800\n"
                               "[camera:cxpB]\nDeviceVendorName = Acme\n"
                               "[camera:cxpC]\n";

TEST(SgcLibraryTest, Complete_ResolvesAllTwentyOneNames) {
    SgcLibrary library(SIM_SGC_LIBRARY);
    ASSERT_TRUE(library.Loaded());
    EXPECT_TRUE(library.Resolve());
    for (const char* name : SGC_ENTRY_NAMES) {
        EXPECT_NE(library.Symbol(name), nullptr) << name;
    }
}

TEST(SgcLibraryTest, Incomplete_LacksOnlyGetCameraPropertyWithType) {
    SgcLibrary library(SIM_SGC_INCOMPLETE_LIBRARY);
    ASSERT_TRUE(library.Loaded());
    EXPECT_FALSE(library.Resolve());
    EXPECT_EQ(library.initBoard, nullptr);
    for (const char* name : SGC_ENTRY_NAMES) {
        const bool missing = std::string(name) == "Sgc_getCameraPropertyWithType";
        EXPECT_EQ(library.Symbol(name) == nullptr, missing) << name;
    }
}

class CxpTest : public ::testing::Test {
protected:
    void SetUp() override {
        UseMachine(cxpMachine);
        ASSERT_TRUE(library_.Loaded());
        ASSERT_TRUE(library_.Resolve());
        board_ = std::make_unique<Board>(dir_.Write("applet.ini", ""), 0);
        ASSERT_TRUE(*board_);
        ASSERT_EQ(library_.initBoard(board_->get(), 0, &sgc_), SGC_OK);
    }

    void TearDown() override {
        if (sgc_ != nullptr) {
            library_.freeBoard(sgc_);
        }
    }

    SgcCamera* Camera(unsigned index) {
        SgcCamera* found = nullptr;
        EXPECT_EQ(library_.getCameraByIndex(sgc_, index, &found), SGC_OK);
        return found;
    }

    std::uint32_t Port(SgcCamera* camera) {
        std::uint32_t value = 99;
        std::size_t size = sizeof(value);
        EXPECT_EQ(library_.getCameraInfo(camera, SGC_INFO_PORT, &value, &size), SGC_OK);
        return value;
    }

    SgcCamera* Connected(unsigned index) {
        SgcCamera* found = Camera(index);
        EXPECT_EQ(library_.linkConnect(sgc_, found), SGC_OK);
        EXPECT_EQ(library_.connectCamera(found), SGC_OK);
        return found;
    }

    SgcLibrary library_{SIM_SGC_LIBRARY};
    TempDir dir_;
    std::unique_ptr<Board> board_;
    SgcBoard* sgc_ = nullptr;
};

TEST_F(CxpTest, InitBoard_NeedsAnOpenCoaXPressGrabberOnce) {
    SgcBoard* other = nullptr;
    EXPECT_EQ(library_.initBoard(board_->get(), 0, &other), SGC_ERR_BOARD_BUSY);
    EXPECT_EQ(library_.initBoard(board_->get(), 1, &other), SGC_ERR_INVALID_ARGUMENT);
    EXPECT_EQ(library_.initBoard(nullptr, 0, &other), SGC_ERR_INVALID_GRABBER);
    Board cameraLink(dir_.Write("cl.ini", ""), 1);
    ASSERT_TRUE(cameraLink);
    EXPECT_EQ(library_.initBoard(cameraLink.get(), 0, &other), SGC_ERR_NOT_CXP_BOARD);
    EXPECT_STRNE(library_.getErrorDescription(SGC_ERR_NOT_CXP_BOARD),
                 library_.getErrorDescription(SGC_ERR_BOARD_BUSY));
}

TEST_F(CxpTest, Scan_FindsAnsweringCamerasInPortOrderAndReportsTheSilentOne) {
    EXPECT_EQ(library_.getCameraCount(sgc_), 0);
    EXPECT_EQ(library_.scanPorts(sgc_, SGC_ALL_PORTS, 10000, 0x38), SGC_ERR_DISCOVERY_TIMEOUT);
    ASSERT_EQ(library_.getCameraCount(sgc_), 2);
    EXPECT_EQ(Port(Camera(0)), 0u);
    EXPECT_EQ(Port(Camera(1)), 2u);
    SgcCamera* none = nullptr;
    EXPECT_EQ(library_.getCameraByIndex(sgc_, 2, &none), SGC_ERR_NO_SUCH_CAMERA);

    // Scanning only the answering ports succeeds.
    EXPECT_EQ(library_.scanPorts(sgc_, 0x5, 10000, 0x38), SGC_OK);
    EXPECT_EQ(library_.getCameraCount(sgc_), 2);
    std::uint32_t speed = 0;
    std::size_t size = sizeof(speed);
    ASSERT_EQ(library_.getCameraInfo(Camera(0), SGC_INFO_LINK_SPEED, &speed, &size), SGC_OK);
    EXPECT_EQ(speed, 0x38u);

    EXPECT_EQ(library_.scanPorts(sgc_, 0, 10000, 0x38), SGC_ERR_INVALID_ARGUMENT);
    EXPECT_EQ(library_.scanPorts(sgc_, 0x10, 10000, 0x38), SGC_ERR_INVALID_ARGUMENT);
    EXPECT_EQ(library_.scanPorts(sgc_, 0xF, 10000, 0x39), SGC_ERR_INVALID_SPEED);
}

TEST_F(CxpTest, Layout_MakesListedCamerasKnownWithoutScanning) {
    const std::string layout =
        dir_.Write("layout.ini", "[camera0]\nport = 3\nspeed = 0x48\n[camera1]\nport = 0\n");
    ASSERT_EQ(library_.loadBoardConfiguration(sgc_, layout.c_str()), SGC_OK);
    ASSERT_EQ(library_.getCameraCount(sgc_), 2);
    EXPECT_EQ(Port(Camera(0)), 3u);
    EXPECT_EQ(Port(Camera(1)), 0u);

    EXPECT_EQ(library_.loadBoardConfiguration(sgc_, ""), SGC_ERR_LAYOUT_FILE);
    EXPECT_EQ(library_.loadBoardConfiguration(sgc_, nullptr), SGC_ERR_LAYOUT_FILE);
    EXPECT_EQ(library_.loadBoardConfiguration(sgc_, (dir_.Path() / "no.ini").string().c_str()),
              SGC_ERR_LAYOUT_FILE);
    const std::string emptyPort = dir_.Write("bad.ini", "[camera0]\nport = 1\n");
    EXPECT_EQ(library_.loadBoardConfiguration(sgc_, emptyPort.c_str()), SGC_ERR_LAYOUT_FILE);
    const std::string twice = dir_.Write("twice.ini", "[camera0]\nport = 0\n[camera1]\nport = 0\n");
    EXPECT_EQ(library_.loadBoardConfiguration(sgc_, twice.c_str()), SGC_ERR_LAYOUT_FILE);
    EXPECT_EQ(library_.getCameraCount(sgc_), 2);
}

TEST_F(CxpTest, LinkAndConnect_InOrder_AndDisconnectFallsBackToLinkDisconnect) {
    ASSERT_EQ(library_.scanPorts(sgc_, 0x5, 10000, 0x38), SGC_OK);
    SgcCamera* cam = Camera(0);
    EXPECT_EQ(library_.connectCamera(cam), SGC_ERR_LINK_DOWN);
    ASSERT_EQ(library_.linkConnect(sgc_, cam), SGC_OK);
    EXPECT_EQ(SimCtl_CameraState("cxpA") & SIM_CAMERA_LINK_UP, SIM_CAMERA_LINK_UP);
    ASSERT_EQ(library_.connectCamera(cam), SGC_OK);
    EXPECT_EQ(SimCtl_CameraState("cxpA") & SIM_CAMERA_CONNECTED, SIM_CAMERA_CONNECTED);

    ASSERT_EQ(library_.disconnectCamera(cam), SGC_OK);
    EXPECT_EQ(library_.disconnectCamera(cam), SGC_ERR_NOT_CONNECTED);
    EXPECT_EQ(library_.linkDisconnect(cam), SGC_OK);
    EXPECT_EQ(library_.linkDisconnect(cam), SGC_ERR_LINK_DOWN);
    EXPECT_EQ(SimCtl_CameraState("cxpA") & (SIM_CAMERA_LINK_UP | SIM_CAMERA_CONNECTED), 0);
}

TEST_F(CxpTest, LinkConnect_FailingOnce_SucceedsOnTheSecondCall) {
    ASSERT_EQ(library_.scanPorts(sgc_, 0x5, 10000, 0x38), SGC_OK);
    ASSERT_EQ(SimCtl_FailCall("Sgc_LinkConnect", SGC_ERR_LINK_DOWN, 1), SIMCTL_OK);
    SgcCamera* cam = Camera(1);
    EXPECT_EQ(library_.linkConnect(sgc_, cam), SGC_ERR_LINK_DOWN);
    EXPECT_EQ(library_.linkConnect(sgc_, cam), SGC_OK);
    EXPECT_EQ(SimCtl_CallCount("Sgc_LinkConnect"), 2);
}

TEST_F(CxpTest, Registers_BigEndianOnEveryRuntime_WithRegisterHelpers) {
    ASSERT_EQ(library_.scanPorts(sgc_, 0x5, 10000, 0x38), SGC_OK);
    SgcCamera* cam = Connected(0);
    std::uint8_t bytes[4] = {};
    ASSERT_EQ(library_.memoryRead(cam, bytes, 0x1000, 4, 10000), SGC_OK);
    const std::uint8_t width800[4] = {0x00, 0x00, 0x03, 0x20};
    EXPECT_EQ(std::memcmp(bytes, width800, 4), 0);

    std::uint32_t magic = 0;
    ASSERT_EQ(library_.registerReadFromCamera(cam, &magic, 0x0), SGC_OK);
    EXPECT_EQ(magic, 0xC0A79AE5u);
    ASSERT_EQ(library_.registerWriteToCamera(cam, 320, 0x1000), SGC_OK);
    std::uint32_t payload = 0;
    ASSERT_EQ(library_.registerReadFromCamera(cam, &payload, 0x101C), SGC_OK);
    EXPECT_EQ(payload, 320u * 480u);

    const std::uint8_t one[4] = {0, 0, 0, 1};
    EXPECT_EQ(library_.memoryWrite(cam, one, 0x0, 4, 10000), SGC_ERR_ACCESS_DENIED);
    EXPECT_EQ(library_.memoryWrite(cam, one, 0x1000, 4, 0), SGC_ERR_INVALID_ARGUMENT);
    EXPECT_EQ(library_.memoryRead(cam, bytes, 0x3FFF, 4, 10000), SGC_ERR_ADDRESS);
    EXPECT_EQ(library_.memoryRead(Camera(1), bytes, 0x1000, 4, 10000), SGC_ERR_LINK_DOWN);
}

TEST_F(CxpTest, Acquisition_WithCameraFlagStartsTheCamera) {
    ASSERT_EQ(library_.scanPorts(sgc_, 0x5, 10000, 0x38), SGC_OK);
    SgcCamera* cam = Connected(0);
    ASSERT_EQ(library_.startAcquisition(cam, SGC_DMA_ONLY), SGC_OK);
    EXPECT_EQ(SimCtl_CameraState("cxpA") & SIM_CAMERA_ACQUIRING, 0);
    ASSERT_EQ(library_.startAcquisition(cam, SGC_WITH_CAMERA), SGC_OK);
    EXPECT_EQ(SimCtl_CameraState("cxpA") & SIM_CAMERA_ACQUIRING, SIM_CAMERA_ACQUIRING);
    ASSERT_EQ(library_.stopAcquisition(cam, SGC_WITH_CAMERA), SGC_OK);
    EXPECT_EQ(SimCtl_CameraState("cxpA") & SIM_CAMERA_ACQUIRING, 0);
    EXPECT_EQ(library_.startAcquisition(cam, 2), SGC_ERR_INVALID_ARGUMENT);
    EXPECT_EQ(library_.startAcquisition(Camera(1), SGC_WITH_CAMERA), SGC_ERR_LINK_DOWN);
}

TEST_F(CxpTest, GenICamXml_NeedsConnection_BigEndianWithStrings) {
    ASSERT_EQ(library_.scanPorts(sgc_, 0x5, 10000, 0x38), SGC_OK);
    std::size_t size = 0;
    EXPECT_EQ(library_.getGenICamXML(Camera(1), nullptr, &size), SGC_ERR_LINK_DOWN);
    SgcCamera* cam = Connected(1);
    ASSERT_EQ(library_.getGenICamXML(cam, nullptr, &size), SGC_OK);
    std::string text(size, '\0');
    ASSERT_EQ(library_.getGenICamXML(cam, text.data(), &size), SGC_OK);
    EXPECT_NE(text.find("<Endianess>BigEndian</Endianess>"), std::string::npos);
    EXPECT_NE(text.find("<StringReg Name=\"DeviceVendorName\""), std::string::npos);
    EXPECT_NE(text.find("VendorName=\"Acme\""), std::string::npos);
}

TEST_F(CxpTest, CameraInfoAndProperties_SizeProtocolAndTypes) {
    ASSERT_EQ(library_.scanPorts(sgc_, 0x5, 10000, 0x38), SGC_OK);
    SgcCamera* cam = Camera(1);
    std::size_t size = 0;
    ASSERT_EQ(library_.getCameraInfo(cam, SGC_INFO_VENDOR_NAME, nullptr, &size), SGC_OK);
    EXPECT_EQ(size, 5u);
    char vendor[5] = {};
    ASSERT_EQ(library_.getCameraInfo(cam, SGC_INFO_VENDOR_NAME, vendor, &size), SGC_OK);
    EXPECT_STREQ(vendor, "Acme");
    size = 2;
    EXPECT_EQ(library_.getCameraInfo(cam, SGC_INFO_VENDOR_NAME, vendor, &size),
              SGC_ERR_BUFFER_TOO_SMALL);
    EXPECT_EQ(library_.getCameraInfo(cam, 77, vendor, &size), SGC_ERR_UNKNOWN_PROPERTY);

    unsigned type = 0;
    std::uint32_t portValue = 0;
    size = sizeof(portValue);
    ASSERT_EQ(library_.getCameraPropertyWithType(cam, "PortIndex", &portValue, &type, &size),
              SGC_OK);
    EXPECT_EQ(type, static_cast<unsigned>(SGC_PROPERTY_UINT32));
    EXPECT_EQ(portValue, 2u);
    ASSERT_EQ(library_.getCameraPropertyWithType(cam, "DeviceModelName", nullptr, &type, &size),
              SGC_OK);
    EXPECT_EQ(type, static_cast<unsigned>(SGC_PROPERTY_STRING));
    EXPECT_EQ(size, std::strlen("SimCam CXP") + 1);
    EXPECT_EQ(library_.getCameraPropertyWithType(cam, "Colour", nullptr, &type, &size),
              SGC_ERR_UNKNOWN_PROPERTY);
}

TEST_F(CxpTest, PowerOff_DropsTheCameraUntilTheNextScan) {
    ASSERT_EQ(library_.scanPorts(sgc_, 0x5, 10000, 0x38), SGC_OK);
    SgcCamera* cam = Connected(0);
    ASSERT_EQ(library_.powerSwitchExt(sgc_, 0x1, SGC_POWER_OFF), SGC_OK);
    EXPECT_EQ(SimCtl_CameraState("cxpA"), 0);
    EXPECT_EQ(library_.getCameraCount(sgc_), 1);
    EXPECT_EQ(library_.linkConnect(sgc_, cam), SGC_ERR_POWERED_OFF);
    EXPECT_EQ(library_.scanPorts(sgc_, 0x1, 10000, 0x38), SGC_ERR_DISCOVERY_TIMEOUT);
    ASSERT_EQ(library_.powerSwitchExt(sgc_, 0x1, SGC_POWER_ON), SGC_OK);
    EXPECT_EQ(library_.scanPorts(sgc_, 0x1, 10000, 0x38), SGC_OK);
    EXPECT_EQ(library_.getCameraCount(sgc_), 2);
    EXPECT_EQ(library_.powerSwitchExt(sgc_, 0x1, 5), SGC_ERR_INVALID_ARGUMENT);
}

TEST_F(CxpTest, FreeBoard_TakesLinksDownAndInvalidatesHandles) {
    ASSERT_EQ(library_.scanPorts(sgc_, 0x5, 10000, 0x38), SGC_OK);
    SgcCamera* cam = Connected(0);
    library_.freeBoard(sgc_);
    sgc_ = nullptr;
    EXPECT_EQ(SimCtl_CameraState("cxpA") & (SIM_CAMERA_LINK_UP | SIM_CAMERA_CONNECTED), 0);
    EXPECT_EQ(library_.connectCamera(cam), SGC_ERR_INVALID_HANDLE);
    // The grabber can get a GenICam board again.
    SgcBoard* again = nullptr;
    ASSERT_EQ(library_.initBoard(board_->get(), 0, &again), SGC_OK);
    sgc_ = again;
}

TEST_F(CxpTest, GrabberClosedFirst_BoardCallsReportTheGrabber) {
    board_.reset();
    EXPECT_EQ(library_.getCameraCount(sgc_), SGC_ERR_INVALID_GRABBER);
    EXPECT_EQ(library_.scanPorts(sgc_, 0xF, 10000, 0x38), SGC_ERR_INVALID_GRABBER);
}

} // namespace

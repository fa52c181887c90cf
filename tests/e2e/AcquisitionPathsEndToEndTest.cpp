// Paths a host meets when something refuses, through the host-application API on
// the simulated machine, with the result codes and the module's own log lines:
// the camera's part in starting and stopping on GigE and CoaXPress boards, failed
// buffer unlocks, node maps the host library refuses, the board switch, and the
// SDK's own reason after the line of a failed SDK call. Each test is a process of
// its own: the module takes its log configuration at its first call only.
#include "e2e/AcquisitionModule.h"
#include "e2e/ModuleLog.h"

#include <ORGenApi/ORGenApiControl.h>
#include <ORV/IBoardSelect2.h>
#include <ORV/INodeMapHandle.h>
#include <ORV/INodeMapHandle2.h>
#include <ORV/ResultCodes.h>

#include <fglib5.h>
#include <gbelib.h>
#include <simctl/SimControl.h>
#include <siso_genicam.h>

#include <gtest/gtest.h>

#include <filesystem>

#include <memory>
#include <ostream>
#include <string>

using e2e::AcquisitionModule;
using e2e::BoardKind;
using e2e::HasLine;
using e2e::MachineSetup;

namespace {

/// The text of a driver line of board 0, DMA 0.
std::string Channel0(const std::string& text) {
    return "\tBoard = 0 | Channel = 0\t" + text;
}

/// An image-path fixture whose module writes its log lines where the test reads them.
class LoggedModule : public AcquisitionModule {
protected:
    void OpenLogged(const MachineSetup& setup = MachineSetup()) {
        log_ = std::make_unique<e2e::ModuleLog>(); // before the module's first call
        Open(setup);
        log_->TakeNew();
    }
    /// What the module logged since the last call.
    std::string NewLog() { return log_->TakeNew(); }

    void TearDown() override {
        ORGenApiCtl_ClearFaults();
        AcquisitionModule::TearDown();
    }

private:
    std::unique_ptr<e2e::ModuleLog> log_;
};

struct CameraCase {
    BoardKind board;
    const char* start; // the camera's start and stop entry points
    const char* stop;
    const char* camera;
    const char* refusal; // the failure text up to "start"/"stop"
    int code;            // a refusal the camera library describes
    const char* reason;  // and its description
};

const CameraCase kCameraCases[] = {
    {BoardKind::GigE, "Gbe_StartAcquisition", "Gbe_StopAcquisition", "gcam",
     "There is a GigE camera connected to the board, however it was not possible to ",
     GBE_ERR_NOT_CONNECTED, "camera is not connected"},
    {BoardKind::CoaXPress, "Sgc_startAcquisition", "Sgc_stopAcquisition", "xcam",
     "There is a SiSo GenICam camera connected to the board, however it was not possible to ",
     SGC_ERR_LINK_DOWN, "camera link is down"}};

void PrintTo(const CameraCase& c, std::ostream* out) {
    *out << e2e::BoardKindName(c.board);
}

bool CameraAcquiring(const char* camera) {
    const int state = SimCtl_CameraState(camera);
    return state >= 0 && (state & SIM_CAMERA_ACQUIRING) != 0;
}

double GrabActive(ORV::IGrab2* grab) {
    double active = -1;
    EXPECT_EQ(grab->GrabInfo(5, &active), ORV::OK);
    return active;
}

} // namespace

class CameraAcquisition : public LoggedModule, public ::testing::WithParamInterface<CameraCase> {};

TEST_P(CameraAcquisition, StartsAfterTheDmaStopsAfterItAndRollsBackWhenItRefuses) {
    const CameraCase& c = GetParam();
    MachineSetup setup;
    setup.board = c.board;
    OpenLogged(setup);
    ORV::IGrab2* grab = Grab2();
    SimCtl_RecordCallOrder(1);

    // Start: the DMA first, then the camera; stop: the DMA, the camera, then the memory.
    ASSERT_EQ(grab->GrabStart(), ORV::OK);
    EXPECT_LT(SimCtl_LastCallOrder("Fg_AcquireEx"), SimCtl_LastCallOrder(c.start));
    EXPECT_TRUE(CameraAcquiring(c.camera));
    int32_t index = -1;
    EXPECT_EQ(grab->GrabWait(&index), ORV::OK);
    ASSERT_EQ(grab->GrabStop(0), ORV::OK);
    EXPECT_LT(SimCtl_LastCallOrder("Fg_StopAcquire"), SimCtl_LastCallOrder(c.stop));
    EXPECT_LT(SimCtl_LastCallOrder(c.stop), SimCtl_LastCallOrder("Fg_RemoveBuffer"));
    EXPECT_FALSE(CameraAcquiring(c.camera));
    NewLog();

    // A camera that refuses to start: the DMA started for it is stopped again and
    // the memory released; the next start works.
    SimCtl_ResetCallCounts();
    ASSERT_EQ(SimCtl_FailCall(c.start, c.code, 1), SIMCTL_OK);
    EXPECT_EQ(grab->GrabStart(), ORV::E_FAIL);
    std::string log = NewLog();
    EXPECT_TRUE(
        HasLine(log, "err", Channel0(std::string("Grab2: ") + c.refusal + "start acquisition")))
        << log;
    EXPECT_TRUE(HasLine(log, "err", Channel0(std::string("Grab2: SDK: ") + c.reason))) << log;
    EXPECT_EQ(SimCtl_CallCount("Fg_AcquireEx"), 1);
    EXPECT_EQ(SimCtl_CallCount("Fg_StopAcquire"), 1);
    EXPECT_EQ(SimCtl_CallCount("Fg_RemoveBuffer"), SimCtl_CallCount("Fg_AddBuffer"));
    EXPECT_EQ(SimCtl_CallCount("Fg_FreeMemoryHead"), 1);
    EXPECT_EQ(DmaCounters().acquiring, 0);
    EXPECT_EQ(GrabActive(grab), 0.0);
    EXPECT_FALSE(CameraAcquiring(c.camera));
    ASSERT_EQ(grab->GrabStart(), ORV::OK);
    EXPECT_TRUE(CameraAcquiring(c.camera));
    EXPECT_EQ(grab->GrabWait(&index), ORV::OK);

    // A camera that refuses to stop: the stop still ends the DMA and releases the
    // memory, reports the camera's failure, and the next grab works.
    ASSERT_EQ(SimCtl_FailCall(c.stop, c.code, 1), SIMCTL_OK);
    SimCtl_ResetCallCounts();
    NewLog();
    EXPECT_EQ(grab->GrabStop(0), ORV::E_FAIL);
    log = NewLog();
    EXPECT_TRUE(
        HasLine(log, "err", Channel0(std::string("Grab2: ") + c.refusal + "stop acquisition")))
        << log;
    EXPECT_TRUE(HasLine(log, "err", Channel0(std::string("Grab2: SDK: ") + c.reason))) << log;
    EXPECT_EQ(DmaCounters().acquiring, 0);
    EXPECT_EQ(SimCtl_CallCount("Fg_FreeMemoryHead"), 1);
    ASSERT_EQ(grab->GrabStart(), ORV::OK);
    EXPECT_EQ(grab->GrabWait(&index), ORV::OK);
    EXPECT_EQ(grab->GrabStop(0), ORV::OK);
    EXPECT_FALSE(CameraAcquiring(c.camera));
}

INSTANTIATE_TEST_SUITE_P(BoardKinds, CameraAcquisition, ::testing::ValuesIn(kCameraCases),
                         [](const ::testing::TestParamInfo<CameraCase>& info) {
                             return std::string(e2e::BoardKindName(info.param.board));
                         });

using AcquisitionPaths = LoggedModule;

TEST_F(AcquisitionPaths, RefusedUnlocks_FailTheWaitOrTheUnlockWithTheirLines) {
    MachineSetup setup;
    setup.frameRate = 200.0;
    OpenLogged(setup);
    ORV::IGrab2* grab = Grab2();

    // Lock mode 0: the wait unlocks the previous image's buffer first.
    ASSERT_EQ(grab->GrabStart(), ORV::OK);
    int32_t index = -1;
    ASSERT_EQ(grab->GrabWait(&index), ORV::OK);
    ASSERT_EQ(SimCtl_FailCall("Fg_SetBufferStatus", -1, 1), SIMCTL_OK);
    NewLog();
    EXPECT_EQ(grab->GrabWait(&index), ORV::E_FAIL);
    std::string log = NewLog();
    EXPECT_TRUE(HasLine(log, "err", Channel0("Grab2: Error buffer unlocking for last image: 1")))
        << log;
    ASSERT_EQ(grab->GrabStop(0), ORV::OK);

    // Lock mode 2: the host unlocks.
    uint32_t mode = 2;
    ASSERT_EQ(Ring()->LockMode(1, &mode), ORV::OK);
    ASSERT_EQ(grab->GrabStart(), ORV::OK);
    ASSERT_EQ(grab->GrabWait(&index), ORV::OK);
    ASSERT_EQ(SimCtl_FailCall("Fg_SetBufferStatus", -1, 1), SIMCTL_OK);
    NewLog();
    EXPECT_EQ(Ring()->UnlockBuffer(index), ORV::E_FAIL);
    log = NewLog();
    EXPECT_TRUE(HasLine(log, "err", Channel0("Ringbuffer: Unable to unlock buffer"))) << log;
    uint8_t locked = 0;
    EXPECT_EQ(Ring()->IsLocked(index, &locked), ORV::OK);
    EXPECT_EQ(locked, 1);
    EXPECT_EQ(Ring()->UnlockBuffer(index), ORV::OK);
    EXPECT_EQ(grab->GrabStop(0), ORV::OK);
}

TEST_F(AcquisitionPaths, RefusedNodeMaps_NullHandleTheirLinesAndTheModuleStillUnloads) {
    MachineSetup setup;
    setup.board = BoardKind::GigE;
    OpenLogged(setup);
    auto* camera = Find<ORV::INodeMapHandle>(Image());
    auto* named = Find<ORV::INodeMapHandle2>(Image());
    ASSERT_NE(camera, nullptr);
    ASSERT_NE(named, nullptr);

    struct Case {
        const char* nodeMap;  // the name INodeMapHandle2 knows it by
        const char* function; // the host library's refusing call
        const char* line;
    };
    const Case cases[] = {{"Device", "ORGenApi_CreateProxy", "Unable to create node amp proxy"},
                          {"TLDevice", "ORGenApi_CreateProxy", "Unable to create node map proxy"},
                          {"Device", "ORGenApi_AttachPort", "Unable to connect nodemap"},
                          {"TLDevice", "ORGenApi_AttachPort", "Unable to connect nodemap"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.nodeMap) + " " + c.function);
        ASSERT_EQ(ORGenApiCtl_FailCall(c.function, ORV::E_OUTOFMEMORY, 1), ORV::OK);
        orvhost::HostObject nodeMap;
        EXPECT_LT(named->GetNodeMap(c.nodeMap, nodeMap.out()), 0);
        EXPECT_FALSE(nodeMap);
        const std::string log = NewLog();
        EXPECT_TRUE(HasLine(log, "warn", Channel0(c.line))) << log;
    }
    // Refused once; asked again, the node maps come.
    orvhost::HostObject device;
    orvhost::HostObject grabber;
    EXPECT_EQ(camera->GetNodeMap(device.out()), ORV::OK);
    EXPECT_EQ(named->GetNodeMap("TLDevice", grabber.out()), ORV::OK);
    EXPECT_TRUE(device && grabber);
    device.reset();
    grabber.reset();
    ReleaseImage();
    EXPECT_EQ(CanUnload(), 1);
}

TEST_F(AcquisitionPaths, SdkFailures_TheSdksReasonFollowsTheDriversLine) {
    OpenLogged();
    ORV::IGrab2* grab = Grab2();
    struct Case {
        const char* function;
        int code;
        const char* line;   // the driver's own line
        const char* reason; // the SDK's description of the injected code
    };
    const Case cases[] = {{"Fg_AcquireEx", FG_ERR_DMA_BUSY, "Grab2: Error in Fg_AcquireEx",
                           "Grab2: SDK: DMA is already acquiring: injected fault"},
                          {"Fg_AddBuffer", FG_ERR_INVALID_BUFFER,
                           "Grab2: Failed to add custom memory to SiSo SDK",
                           "Grab2: SDK: invalid buffer address, size or index: injected fault"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.function);
        ASSERT_EQ(SimCtl_FailCall(c.function, c.code, 1), SIMCTL_OK);
        EXPECT_EQ(grab->GrabStart(), ORV::E_FAIL);
        const std::string log = NewLog();
        EXPECT_TRUE(HasLine(log, "err", Channel0(c.line))) << log;
        EXPECT_TRUE(HasLine(log, "err", Channel0(c.reason))) << log;
    }
    // The stop's first failure, with its reason; the stop still completes.
    ASSERT_EQ(grab->GrabStart(), ORV::OK);
    ASSERT_EQ(SimCtl_FailCall("Fg_StopAcquire", FG_ERR_NOT_ACQUIRING, 1), SIMCTL_OK);
    NewLog();
    EXPECT_EQ(grab->GrabStop(0), ORV::E_FAIL);
    const std::string log = NewLog();
    EXPECT_TRUE(HasLine(log, "err", Channel0("Grab2: Error failed to stop acquisition"))) << log;
    EXPECT_TRUE(HasLine(log, "err", Channel0("Grab2: SDK: DMA is not acquiring: injected fault")))
        << log;
    EXPECT_EQ(DmaCounters().acquiring, 0);
}

TEST_F(AcquisitionPaths, BrokenMachineDescription_FoundNoBoardThenTheSdksReason) {
    e2e::ModuleLog log;
    MachineSetup setup;
    setup.machineSections = "[board1]\ntype = 1873\nno_such_key = 1\n";
    EXPECT_FALSE(TryOpen(setup));
    const std::string text = log.Text();
    EXPECT_TRUE(HasLine(text, "info", "Found no board: Error | With board index: 0")) << text;
    // The simulator names the file as its path type joins it (a '\' on Windows).
    const std::filesystem::path machine = Sandbox().MachinePath();
    const std::string reason = "[info] SDK: machine description could not be loaded: " +
                               (machine.parent_path() / machine.filename()).string();
    EXPECT_NE(text.find(reason), std::string::npos) << text;
}

TEST_F(AcquisitionPaths, SetBoard_ABoardThatDoesNotOpenOrHasNoChannelIs0x80000001) {
    MachineSetup setup;
    // Board 1's applet file is missing; board 2 opens, but its configuration
    // defines no DMA.
    setup.machineSections = "[board1]\ntype = 1873\ndmas = 1\n\n[board2]\ntype = 1873\ndmas = 1\n";
    setup.configurationLines = "\n[BOARD1]\ninifilemcf=%ORVDATA%Drivers\\missing.mcf\n"
                               "\n[BOARD2]\ninifilemcf=%ORVDATA%Drivers\\acq.mcf\ndmas=0\n";
    OpenLogged(setup);
    auto* boards = Find<ORV::IBoardSelect2>(Image());
    ASSERT_NE(boards, nullptr);
    int32_t count = 0;
    ASSERT_EQ(boards->GetBoardCount(&count), ORV::OK);
    ASSERT_EQ(count, 3);

    struct Case {
        int32_t board;
        const char* line; // what the framework logs before it gives up
    };
    const Case cases[] = {{1, "Invalid board id : ~idx:1 / "},
                          {2, "Invalid Channel id : ~idx:0 / "}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.board);
        orvhost::HostObject switched;
        EXPECT_EQ(boards->SetBoard(c.board, switched.out()), ORV::E_FAIL);
        EXPECT_FALSE(switched);
        const std::string log = NewLog();
        EXPECT_NE(log.find(std::string("[err] ") + c.line), std::string::npos) << log;
        int32_t current = -1;
        EXPECT_EQ(boards->GetCurrentBoard(&current), ORV::OK);
        EXPECT_EQ(current, 0);
        EXPECT_EQ(Grabber()->Snap(), ORV::OK); // the image still grabs on its board
    }
}

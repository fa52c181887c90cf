// The camera behind a channel's port: looked for once in InitChannel (GigE and
// CoaXPress boards), connected again at the start of an acquisition when that
// failed, disconnected when the channel goes. No failure here stops the channel:
// it still works with image data the applet generates itself.
#include "board/DriverChannel.h"

#include "board/BoardInformation.h"
#include "board/DriverBoard.h"

#include <nwLogging/LogMacros.h>

namespace {

// Argument of the GigE port scan, passed on as the SDK expects it.
constexpr int GigEScanArgument = 200;

} // namespace

void CDriverChannel::ConnectCamera() {
    switch (board_->Technology()) {
    case TechnologyGigE:
        ConnectGigECamera();
        break;
    case TechnologyCoaXPress:
        ConnectCoaXPressCamera();
        break;
    default:
        break; // Camera Link cameras need no connection
    }
}

void CDriverChannel::ConnectGigECamera() {
    Gbe_Board* board = board_->GigEBoard();
    const int port = static_cast<int>(dmaIndex_);
    // Without the GigE board (its set-up failed) there is no port to scan.
    if (board == nullptr || Gbe_ScanPort(board, port, GigEScanArgument) < 0) {
        NWLOG_HERE(log_, nwLogging::level_warn, "DriverChannel",
                   Prefix() << '\t' << "No camera found");
        NWLOG_HERE(log_, nwLogging::level_warn, "DriverChannel",
                   Prefix() << '\t' << "Will only work if image data is generated this DMA");
        return;
    }
    const int count = Gbe_CameraCount(board, port);
    NWLOG(log_, nwLogging::level_info, Prefix() << '\t' << "GigE cameras found = " << count);
    if (count > 1) {
        NWLOG_HERE(log_, nwLogging::level_err, "DriverChannel",
                   Prefix() << '\t' << "Only one camera supported per DMA/port");
        NWLOG_HERE(log_, nwLogging::level_err, "DriverChannel",
                   Prefix() << '\t'
                            << "There seems to be a camera connected however something is "
                               "wrong here");
        return;
    }
    if (count == 0) {
        NWLOG_HERE(log_, nwLogging::level_warn, "DriverChannel",
                   Prefix() << '\t'
                            << "No camera connected, will work if you know what you are doing");
        return;
    }
    Gbe_Camera* camera = nullptr;
    const int got = Gbe_FirstCamera(board, port, &camera);
    if (camera != nullptr)
        gigeCamera_.reset(camera);
    if (got != 0) {
        NWLOG_HERE(log_, nwLogging::level_err, "DriverChannel",
                   Prefix() << '\t' << "Get first camera error: " << Gbe_ErrorText(got));
        return;
    }
    ConnectHeldGigECamera();
}

bool CDriverChannel::ConnectHeldGigECamera() {
    const int connected = Gbe_Connect(gigeCamera_.get());
    if (connected != 0) {
        NWLOG_HERE(log_, nwLogging::level_err, "DriverChannel",
                   Prefix() << '\t' << "Connect error: " << Gbe_ErrorText(connected));
        return false;
    }
    cameraConnected_ = true;
    NWLOG(log_, nwLogging::level_info, Prefix() << '\t' << "Camera connected successfully ");
    return true;
}

void CDriverChannel::ConnectCoaXPressCamera() {
    const GenICamEntryTable& genicam = GenICam();
    SgcBoard* board = board_->GenICamBoard();
    // Without the GenICam library or board (the board's set-up failed) there is
    // nothing that could be called.
    if (!genicam.Loaded() || board == nullptr) {
        NWLOG_HERE(log_, nwLogging::level_warn, "DriverChannel",
                   Prefix() << '\t' << "No SiSo GenICam board, no camera connected");
        return;
    }
    const int count = genicam.getCameraCount(board);
    NWLOG(log_, nwLogging::level_info, Prefix() << '\t' << "GenICam cameras found = " << count);
    if (count == 0) {
        NWLOG_HERE(log_, nwLogging::level_warn, "DriverChannel",
                   Prefix() << '\t'
                            << "No camera connected, will work if you know what you are doing");
        return;
    }
    SgcCamera* camera = nullptr;
    const int got = genicam.getCameraByIndex(board, dmaIndex_, &camera);
    if (camera != nullptr)
        coaxpressCamera_ = camera;
    if (got != 0) {
        NWLOG_HERE(log_, nwLogging::level_err, "DriverChannel",
                   Prefix() << '\t' << "Get  camera error: " << genicam.ErrorText(got));
        return;
    }
    ConnectHeldCoaXPressCamera();
}

bool CDriverChannel::ConnectHeldCoaXPressCamera() {
    const GenICamEntryTable& genicam = GenICam();
    SgcBoard* board = board_->GenICamBoard();
    if (!cameraLinked_) {
        // The link of a camera that just powered up may need a second attempt.
        int linked = genicam.linkConnect(board, coaxpressCamera_);
        if (linked != 0)
            linked = genicam.linkConnect(board, coaxpressCamera_);
        if (linked != 0) {
            NWLOG_HERE(log_, nwLogging::level_err, "DriverChannel",
                       Prefix() << '\t'
                                << "Low level connect error: " << genicam.ErrorText(linked));
            return false;
        }
        cameraLinked_ = true;
    }
    const int connected = genicam.connectCamera(coaxpressCamera_);
    if (connected != 0) {
        NWLOG_HERE(log_, nwLogging::level_err, "DriverChannel",
                   Prefix() << '\t' << "Connect error: " << genicam.ErrorText(connected));
        return false;
    }
    cameraConnected_ = true;
    NWLOG(log_, nwLogging::level_info, Prefix() << '\t' << "Camera connected successfully ");
    return true;
}

bool CDriverChannel::ConnectCameraAgain() {
    std::lock_guard<std::mutex> guard(cameraLock_);
    if (cameraConnected_)
        return true;
    const bool gige = board_->Technology() == TechnologyGigE && gigeCamera_;
    const bool coaxpress = board_->Technology() == TechnologyCoaXPress &&
                           coaxpressCamera_ != nullptr && GenICam().Loaded() &&
                           board_->GenICamBoard() != nullptr;
    if (!gige && !coaxpress)
        return true;
    NWLOG(log_, nwLogging::level_info,
          Prefix() << '\t' << "Camera not connected, connecting again");
    return gige ? ConnectHeldGigECamera() : ConnectHeldCoaXPressCamera();
}

void CDriverChannel::DisconnectCamera() {
    if (gigeCamera_) {
        if (Gbe_Disconnect(gigeCamera_.get()) != 0)
            NWLOG_HERE(log_, nwLogging::level_err, "DriverChannel",
                       Prefix() << '\t' << "Error disconnecting GigE camera");
        else
            NWLOG(log_, nwLogging::level_info, Prefix() << '\t' << "Disconnected GigE camera");
        gigeCamera_.reset();
    }
    const GenICamEntryTable& genicam = GenICam();
    if (coaxpressCamera_ != nullptr && genicam.Loaded()) {
        // The camera is disconnected even when only its link can be taken down.
        if (genicam.disconnectCamera(coaxpressCamera_) != 0 &&
            genicam.linkDisconnect(coaxpressCamera_) != 0)
            NWLOG_HERE(log_, nwLogging::level_err, "DriverChannel",
                       Prefix() << '\t' << "Error disconnecting SiSo GenICam camera");
        else
            NWLOG(log_, nwLogging::level_info,
                  Prefix() << '\t' << "Disconnected SiSo GenICam camera");
    }
}

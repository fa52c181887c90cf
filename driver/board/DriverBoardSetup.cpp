// Technology set-up of a board: nothing for Camera Link, the GigE library for
// GigE, the GenICam board with its port scan or connection layout for CoaXPress.
#include "board/DriverBoard.h"

#include "system/DriverSystem.h"

#include <nwLogging/LogMacros.h>

#include <platform/Path.h>

#include <ios>

bool CDriverBoard::TechnologySetup() {
    switch (information_.technology) {
    case TechnologyCameraLink:
        NWLOG(log_, nwLogging::level_info, Prefix() << "Setup CL");
        return true;
    case TechnologyGigE:
        return SetupGigE();
    case TechnologyCoaXPress:
        return SetupCoaXPress();
    default:
        NWLOG_AT(log_, nwLogging::level_err, "DriverBoard", 449,
                 Prefix() << "Error during tech setup");
        return false;
    }
}

bool CDriverBoard::SetupGigE() {
    NWLOG(log_, nwLogging::level_info, Prefix() << "Setup GigE");
    Gbe_Board* board = nullptr;
    const int result = Gbe_OpenBoard(information_.boardIndex, 0, &board);
    if (result < 0) {
        NWLOG_AT(log_, nwLogging::level_warn, "DriverBoard", 474,
                 Prefix() << "GigE setup error: " << Gbe_ErrorText(result) << result);
        return false;
    }
    gigeBoard_.reset(board);
    NWLOG(log_, nwLogging::level_info, Prefix() << "GigE setup OK");
    return true;
}

bool CDriverBoard::SetupCoaXPress() {
    NWLOG(log_, nwLogging::level_info, Prefix() << "Setup SiSo GeniCam");
    const GenICamEntryTable& genicam = GenICam();
    // Runtimes below 5.3 have no GenICam library: its table is empty and must not
    // be called; the board then runs without cameras.
    if (!genicam.Loaded()) {
        NWLOG_HERE(log_, nwLogging::level_err, "DriverBoard",
                   Prefix() << "SiSo GenICam setup error: GenICam library not loaded");
        return false;
    }
    SgcBoard* board = nullptr;
    const int result = genicam.initBoard(grabber_.get(), 0, &board);
    if (result < 0) {
        NWLOG_AT(log_, nwLogging::level_warn, "DriverBoard", 492,
                 Prefix() << "SiSo GenICam setup error: " << genicam.ErrorText(result) << result);
        return false;
    }
    genicamBoard_.reset(board);

    const CDriverConfiguration& configuration = Configuration();
    if (const boost::optional<std::string> layout = configuration.Path(BoardKey("layout"))) {
        // A layout replaces the scan, even an empty one.
        const int loaded =
            genicam.loadBoardConfiguration(board, platform::ToNativePath(*layout).c_str());
        if (loaded != 0) {
            NWLOG_AT(log_, nwLogging::level_err, "DriverBoard", 511,
                     Prefix() << "failed to load: " << *layout);
            NWLOG_AT(log_, nwLogging::level_err, "DriverBoard", 512,
                     Prefix() << "SDK error message: " << genicam.ErrorText(loaded));
        } else {
            NWLOG(log_, nwLogging::level_info,
                  Prefix() << "successfully loaded board layout: " << *layout);
        }
    } else {
        ScanCoaXPressPorts(board);
    }
    NWLOG(log_, nwLogging::level_info, Prefix() << "SiSo GenICam  setup OK");
    return true;
}

void CDriverBoard::ScanCoaXPressPorts(SgcBoard* board) {
    const GenICamEntryTable& genicam = GenICam();
    const CDriverConfiguration& configuration = Configuration();
    const bool scan = configuration.Boolean(BoardKey("scan")).value_or(true);
    const int32_t discovery = configuration.Int32(BoardKey("discovery")).value_or(10000);
    const int32_t speed = configuration.Int32(BoardKey("cxp_speed")).value_or(56);
    int cameras = 0;
    if (scan) {
        const boost::optional<int32_t> expected = configuration.Int32(BoardKey("verify_cams"));
        const uint32_t retry = configuration.UInt32(BoardKey("retry")).value_or(3);
        for (uint32_t cycle = 0; cycle < retry; ++cycle) {
            NWLOG(log_, nwLogging::level_info,
                  Prefix() << "Start scanning with speed: 0x" << std::hex << speed);
            const int result = genicam.scanPorts(board, SGC_ALL_PORTS, discovery, speed);
            NWLOG(log_, nwLogging::level_info, Prefix() << "Finished scanning");
            cameras = genicam.getCameraCount(board);
            if (!expected || (result == 0 && cameras == *expected))
                break;
            // Cameras may still be booting: scan again.
            NWLOG_AT(log_, nwLogging::level_warn, "DriverBoard", 567,
                     "Error during board scan - cycle: " << cycle);
            NWLOG_AT(log_, nwLogging::level_warn, "DriverBoard", 568,
                     "SDK error message: " << genicam.ErrorText(result));
        }
    }
    NWLOG(log_, nwLogging::level_info,
          (BoardPrefix{information_.boardIndex, false}) << "\tCameras found: " << cameras);
}

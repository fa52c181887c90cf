#include "SimTestSupport.h"

#include <gtest/gtest.h>

#include <atomic>
#include <fstream>
#include <unistd.h>

namespace simtest {

void UseMachine(const std::string& text) {
    const int result =
        SimCtl_LoadMachineText(text.empty() ? SimCtl_EmbeddedMachine() : text.c_str());
    ASSERT_EQ(result, SIMCTL_OK) << SimCtl_LastError();
    SimCtl_ClearFaults();
    SimCtl_ResetCallCounts();
}

Board::Board(const std::string& appletPath, unsigned boardIndex)
    : grabber_(Fg_OpenBoard(appletPath.c_str(), boardIndex)) {}

Board::~Board() {
    if (grabber_ != nullptr) {
        Fg_CloseBoard(grabber_);
    }
}

CustomRing::CustomRing(Fg_Grabber* grabber, std::size_t bufferBytes, std::int64_t count)
    : grabber_(grabber), head_(Fg_CreateMemoryHead(grabber, bufferBytes * count, count)),
      storage_(static_cast<std::size_t>(count), std::vector<std::uint8_t>(bufferBytes, 0)) {
    for (std::int64_t i = 0; head_ != nullptr && i < count; ++i) {
        Fg_AddBuffer(grabber, storage_[static_cast<std::size_t>(i)].data(), bufferBytes, i, head_);
    }
}

CustomRing::~CustomRing() {
    if (head_ == nullptr) {
        return;
    }
    for (std::int64_t i = 0; i < Count(); ++i) {
        Fg_RemoveBuffer(grabber_, head_, i);
    }
    Fg_FreeMemoryHead(grabber_, head_);
}

GigeBoard::GigeBoard(int boardIndex) : result_(Gbe_OpenBoard(boardIndex, 0, &board_)) {}

GigeBoard::~GigeBoard() {
    if (result_ == GBE_OK) {
        Gbe_CloseBoard(board_);
    }
}

GigeCamera::GigeCamera(Gbe_Board* board, int port)
    : result_(Gbe_FirstCamera(board, port, &camera_)) {}

GigeCamera::~GigeCamera() {
    if (result_ == GBE_OK) {
        Gbe_ReleaseCamera(camera_);
    }
}

} // namespace simtest

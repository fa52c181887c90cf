#include "SimTestSupport.h"

#include <gtest/gtest.h>

namespace simtest {

void useMachine(const std::string& text) {
    const int result =
        SimCtl_LoadMachineText(text.empty() ? SimCtl_EmbeddedMachine() : text.c_str());
    ASSERT_EQ(result, SIMCTL_OK) << SimCtl_LastError();
    SimCtl_ClearFaults();
    SimCtl_ResetCallCounts();
}

Board::Board(const std::string& appletPath, unsigned boardIndex)
    : m_grabber(Fg_OpenBoard(appletPath.c_str(), boardIndex)) {}

Board::~Board() {
    if (m_grabber != nullptr) {
        Fg_CloseBoard(m_grabber);
    }
}

CustomRing::CustomRing(Fg_Grabber* grabber, std::size_t bufferBytes, std::int64_t count)
    : m_grabber(grabber), m_head(Fg_CreateMemoryHead(grabber, bufferBytes * count, count)),
      m_storage(static_cast<std::size_t>(count), std::vector<std::uint8_t>(bufferBytes, 0)) {
    for (std::int64_t i = 0; m_head != nullptr && i < count; ++i) {
        Fg_AddBuffer(grabber, m_storage[static_cast<std::size_t>(i)].data(), bufferBytes, i,
                     m_head);
    }
}

CustomRing::~CustomRing() {
    if (m_head == nullptr) {
        return;
    }
    for (std::int64_t i = 0; i < count(); ++i) {
        Fg_RemoveBuffer(m_grabber, m_head, i);
    }
    Fg_FreeMemoryHead(m_grabber, m_head);
}

GigeBoard::GigeBoard(int boardIndex) : m_result(Gbe_OpenBoard(boardIndex, 0, &m_board)) {}

GigeBoard::~GigeBoard() {
    if (m_result == GBE_OK) {
        Gbe_CloseBoard(m_board);
    }
}

GigeCamera::GigeCamera(Gbe_Board* board, int port)
    : m_result(Gbe_FirstCamera(board, port, &m_camera)) {}

GigeCamera::~GigeCamera() {
    if (m_result == GBE_OK) {
        Gbe_ReleaseCamera(m_camera);
    }
}

} // namespace simtest

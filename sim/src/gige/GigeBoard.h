// The GigE side of a frame-grabber board: its ports and what their scans found.
#pragma once

#include "CameraDevice.h"
#include "Handles.h"

#include <memory>
#include <mutex>
#include <vector>

namespace sim {

// Behind a Gbe_Board handle. Each port has the cameras the machine attaches to it; a
// scan finds those that answer within the scan's time-out.
//
// Thread-safe: m_mutex guards m_found. The attached cameras are fixed at construction.
class GigeBoard {
public:
    GigeBoard(int boardIndex, std::vector<std::vector<std::shared_ptr<CameraDevice>>> ports);

    Gbe_Board* handle() { return &m_handle; }
    int boardIndex() const { return m_boardIndex; }

    // GBE_OK or a GBE_ERR_* code.
    int scan(int port, int timeoutMs);
    // Cameras the last scan of the port found, or a negative code.
    int cameraCount(int port) const;
    // The first camera the last scan found on the port.
    int firstCamera(int port, std::shared_ptr<CameraDevice>& device) const;

private:
    bool validPort(int port) const { return port >= 0 && port < static_cast<int>(m_ports.size()); }

    Gbe_Board m_handle;
    const int m_boardIndex;
    const std::vector<std::vector<std::shared_ptr<CameraDevice>>> m_ports;
    mutable std::mutex m_mutex;
    std::vector<std::vector<std::shared_ptr<CameraDevice>>> m_found;
};

} // namespace sim

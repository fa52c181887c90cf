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
// Thread-safe: mutex_ guards found_. The attached cameras are fixed at construction.
class GigeBoard {
public:
    GigeBoard(int boardIndex, std::vector<std::vector<std::shared_ptr<CameraDevice>>> ports);

    Gbe_Board* Handle() { return &handle_; }
    int BoardIndex() const { return boardIndex_; }

    // GBE_OK or a GBE_ERR_* code.
    int Scan(int port, int timeoutMs);
    // Cameras the last scan of the port found, or a negative code.
    int CameraCount(int port) const;
    // The first camera the last scan found on the port.
    int FirstCamera(int port, std::shared_ptr<CameraDevice>& device) const;

private:
    bool ValidPort(int port) const { return port >= 0 && port < static_cast<int>(ports_.size()); }

    Gbe_Board handle_;
    const int boardIndex_;
    const std::vector<std::vector<std::shared_ptr<CameraDevice>>> ports_;
    mutable std::mutex mutex_;
    std::vector<std::vector<std::shared_ptr<CameraDevice>>> found_;
};

} // namespace sim

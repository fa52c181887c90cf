// The GenICam (CoaXPress) side of an open frame-grabber board.
#pragma once

#include "Grabber.h"
#include "cxp/CxpCamera.h"

#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace sim {

// Behind an SgcBoard handle. Its ports hold the cameras the machine attaches; cameras
// become known through a port scan (those that answer in time) or a connection layout
// (those it lists, without discovery). Camera indices count the known cameras in port
// order.
//
// Thread-safe: m_mutex guards m_known. The grabber link and the port cameras are fixed.
class CxpBoard {
public:
    CxpBoard(std::weak_ptr<Grabber> grabber, int boardIndex,
             std::vector<std::shared_ptr<CameraDevice>> ports, unsigned answering);

    SgcBoard* handle() { return &m_handle; }
    int boardIndex() const { return m_boardIndex; }
    // SGC_OK while the grabber the board was made for is open.
    int checkGrabber() const;

    int loadLayout(const char* path);
    int scan(unsigned portMask, int discoveryTimeoutMs, int speed);
    int cameraCount() const;
    int cameraByIndex(unsigned index, SgcCamera** camera) const;
    int powerSwitch(unsigned portMask, int state);
    // Handles of every attached camera, known or not.
    std::vector<SgcCamera*> handles() const;
    // The camera behind a handle when it belongs to this board, else nullptr.
    CxpCamera* own(const SgcCamera* handle) const;
    // Takes every link down; the board is being freed.
    void shutdown();

private:
    SgcBoard m_handle;
    const std::weak_ptr<Grabber> m_grabber;
    const int m_boardIndex;
    const unsigned m_answering;
    std::vector<std::unique_ptr<CxpCamera>> m_ports; // nullptr for an empty port
    mutable std::mutex m_mutex;
    std::vector<CxpCamera*> m_known;
};

} // namespace sim

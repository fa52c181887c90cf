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
// Thread-safe: mutex_ guards known_. The grabber link and the port cameras are fixed.
class CxpBoard {
public:
    CxpBoard(std::weak_ptr<Grabber> grabber, int boardIndex,
             std::vector<std::shared_ptr<CameraDevice>> ports, unsigned answering);

    SgcBoard* Handle() { return &handle_; }
    int BoardIndex() const { return boardIndex_; }
    // SGC_OK while the grabber the board was made for is open.
    int CheckGrabber() const;

    int LoadLayout(const char* path);
    int Scan(unsigned portMask, int discoveryTimeoutMs, int speed);
    int CameraCount() const;
    int CameraByIndex(unsigned index, SgcCamera** camera) const;
    int PowerSwitch(unsigned portMask, int state);
    // Handles of every attached camera, known or not.
    std::vector<SgcCamera*> Handles() const;
    // The camera behind a handle when it belongs to this board, else nullptr.
    CxpCamera* Own(const SgcCamera* handle) const;
    // Takes every link down; the board is being freed.
    void Shutdown();

private:
    SgcBoard handle_;
    const std::weak_ptr<Grabber> grabber_;
    const int boardIndex_;
    const unsigned answering_;
    std::vector<std::unique_ptr<CxpCamera>> ports_; // nullptr for an empty port
    mutable std::mutex mutex_;
    std::vector<CxpCamera*> known_;
};

} // namespace sim

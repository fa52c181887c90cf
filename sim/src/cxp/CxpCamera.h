// A CoaXPress camera as the GenICam library hands it out.
#pragma once

#include "CameraDevice.h"
#include "Handles.h"

#include <atomic>
#include <memory>

namespace sim {

// One per attached camera of a GenICam board, owned by that board: handles stay valid
// until Sgc_freeBoard, across rescans. The handle's address is the connection's owner
// token.
//
// Thread-safe: the port and device are fixed; the link speed is an atomic.
class CxpCamera {
public:
    CxpCamera(std::shared_ptr<CameraDevice> device, unsigned port)
        : device_(std::move(device)), port_(port) {
        handle_.serial = NextHandleSerial();
    }

    SgcCamera* Handle() { return &handle_; }
    const void* Owner() const { return &handle_; }
    CameraDevice& Device() const { return *device_; }
    unsigned Port() const { return port_; }
    unsigned Speed() const { return speed_.load(); }
    void SetSpeed(unsigned speed) { speed_.store(speed); }

private:
    SgcCamera handle_;
    const std::shared_ptr<CameraDevice> device_;
    const unsigned port_;
    std::atomic<unsigned> speed_{0};
};

} // namespace sim

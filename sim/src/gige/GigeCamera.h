// A camera handle handed out by gbelib.
#pragma once

#include "CameraDevice.h"
#include "Handles.h"

#include <memory>

namespace sim {

// One Gbe_FirstCamera result. The handle's address is the owner token of the connection
// it makes, so two handles to one camera cannot both be connected.
//
// Immutable after construction; the device does its own locking.
class GigeCamera {
public:
    GigeCamera(std::shared_ptr<CameraDevice> device, int boardIndex, int port)
        : device_(std::move(device)), boardIndex_(boardIndex), port_(port) {
        handle_.serial = NextHandleSerial();
    }

    Gbe_Camera* Handle() { return &handle_; }
    const void* Owner() const { return &handle_; }
    CameraDevice& Device() const { return *device_; }
    int BoardIndex() const { return boardIndex_; }
    int Port() const { return port_; }

private:
    Gbe_Camera handle_;
    const std::shared_ptr<CameraDevice> device_;
    const int boardIndex_;
    const int port_;
};

} // namespace sim

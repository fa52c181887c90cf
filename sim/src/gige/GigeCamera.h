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
        : m_device(std::move(device)), m_boardIndex(boardIndex), m_port(port) {
        m_handle.serial = nextHandleSerial();
    }

    Gbe_Camera* handle() { return &m_handle; }
    const void* owner() const { return &m_handle; }
    CameraDevice& device() const { return *m_device; }
    int boardIndex() const { return m_boardIndex; }
    int port() const { return m_port; }

private:
    Gbe_Camera m_handle;
    const std::shared_ptr<CameraDevice> m_device;
    const int m_boardIndex;
    const int m_port;
};

} // namespace sim

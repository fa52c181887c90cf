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
        : m_device(std::move(device)), m_port(port) {
        m_handle.serial = nextHandleSerial();
    }

    SgcCamera* handle() { return &m_handle; }
    const void* owner() const { return &m_handle; }
    CameraDevice& device() const { return *m_device; }
    unsigned port() const { return m_port; }
    unsigned speed() const { return m_speed.load(); }
    void setSpeed(unsigned speed) { m_speed.store(speed); }

private:
    SgcCamera m_handle;
    const std::shared_ptr<CameraDevice> m_device;
    const unsigned m_port;
    std::atomic<unsigned> m_speed{0};
};

} // namespace sim

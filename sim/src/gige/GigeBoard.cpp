#include "GigeBoard.h"

#include <gbelib.h>

namespace sim {

GigeBoard::GigeBoard(int boardIndex, std::vector<std::vector<std::shared_ptr<CameraDevice>>> ports)
    : m_boardIndex(boardIndex), m_ports(std::move(ports)), m_found(m_ports.size()) {
    m_handle.serial = nextHandleSerial();
}

int GigeBoard::scan(int port, int timeoutMs) {
    if (!validPort(port)) {
        return GBE_ERR_NO_SUCH_PORT;
    }
    if (timeoutMs <= 0) {
        return GBE_ERR_INVALID_ARGUMENT;
    }
    std::vector<std::shared_ptr<CameraDevice>> found;
    for (const auto& camera : m_ports[static_cast<std::size_t>(port)]) {
        // A camera slower than the discovery time-out stays unseen, as on the wire.
        if (camera->answerMs() <= static_cast<unsigned>(timeoutMs)) {
            found.push_back(camera);
        }
    }
    std::lock_guard<std::mutex> lock(m_mutex);
    m_found[static_cast<std::size_t>(port)] = std::move(found);
    return GBE_OK;
}

int GigeBoard::cameraCount(int port) const {
    if (!validPort(port)) {
        return GBE_ERR_NO_SUCH_PORT;
    }
    std::lock_guard<std::mutex> lock(m_mutex);
    return static_cast<int>(m_found[static_cast<std::size_t>(port)].size());
}

int GigeBoard::firstCamera(int port, std::shared_ptr<CameraDevice>& device) const {
    if (!validPort(port)) {
        return GBE_ERR_NO_SUCH_PORT;
    }
    std::lock_guard<std::mutex> lock(m_mutex);
    const auto& found = m_found[static_cast<std::size_t>(port)];
    if (found.empty()) {
        return GBE_ERR_NO_CAMERA;
    }
    device = found.front();
    return GBE_OK;
}

} // namespace sim

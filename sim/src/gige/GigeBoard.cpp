#include "GigeBoard.h"

#include <gbelib.h>

namespace sim {

GigeBoard::GigeBoard(int boardIndex, std::vector<std::vector<std::shared_ptr<CameraDevice>>> ports)
    : boardIndex_(boardIndex), ports_(std::move(ports)), found_(ports_.size()) {
    handle_.serial = NextHandleSerial();
}

int GigeBoard::Scan(int port, int timeoutMs) {
    if (!ValidPort(port)) {
        return GBE_ERR_NO_SUCH_PORT;
    }
    if (timeoutMs <= 0) {
        return GBE_ERR_INVALID_ARGUMENT;
    }
    std::vector<std::shared_ptr<CameraDevice>> found;
    for (const auto& camera : ports_[static_cast<std::size_t>(port)]) {
        // A camera slower than the discovery time-out stays unseen, as on the wire.
        if (camera->AnswerMs() <= static_cast<unsigned>(timeoutMs)) {
            found.push_back(camera);
        }
    }
    std::lock_guard<std::mutex> lock(mutex_);
    found_[static_cast<std::size_t>(port)] = std::move(found);
    return GBE_OK;
}

int GigeBoard::CameraCount(int port) const {
    if (!ValidPort(port)) {
        return GBE_ERR_NO_SUCH_PORT;
    }
    std::lock_guard<std::mutex> lock(mutex_);
    return static_cast<int>(found_[static_cast<std::size_t>(port)].size());
}

int GigeBoard::FirstCamera(int port, std::shared_ptr<CameraDevice>& device) const {
    if (!ValidPort(port)) {
        return GBE_ERR_NO_SUCH_PORT;
    }
    std::lock_guard<std::mutex> lock(mutex_);
    const auto& found = found_[static_cast<std::size_t>(port)];
    if (found.empty()) {
        return GBE_ERR_NO_CAMERA;
    }
    device = found.front();
    return GBE_OK;
}

} // namespace sim

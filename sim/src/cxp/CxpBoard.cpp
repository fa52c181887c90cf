#include "CxpBoard.h"

#include "Grabber.h"
#include "IniDocument.h"
#include <siso_genicam.h>

#include <algorithm>
#include <map>

namespace sim {

namespace {

bool ValidSpeed(int speed) {
    switch (speed) {
    case SGC_SPEED_AUTO:
    case SGC_SPEED_CXP1:
    case SGC_SPEED_CXP2:
    case SGC_SPEED_CXP3:
    case SGC_SPEED_CXP5:
    case SGC_SPEED_CXP6:
        return true;
    default:
        return false;
    }
}

} // namespace

CxpBoard::CxpBoard(std::weak_ptr<Grabber> grabber, int boardIndex,
                   std::vector<std::shared_ptr<CameraDevice>> ports, unsigned answering)
    : grabber_(std::move(grabber)), boardIndex_(boardIndex), answering_(answering) {
    handle_.serial = NextHandleSerial();
    for (unsigned port = 0; port < ports.size(); ++port) {
        ports_.push_back(ports[port] ? std::make_unique<CxpCamera>(ports[port], port) : nullptr);
    }
}

int CxpBoard::CheckGrabber() const {
    // A closed grabber is kept by the machine, with its handle invalidated.
    const std::shared_ptr<Grabber> grabber = grabber_.lock();
    return grabber != nullptr && grabber->IsOpen() ? SGC_OK : SGC_ERR_INVALID_GRABBER;
}

int CxpBoard::LoadLayout(const char* path) {
    if (path == nullptr || path[0] == '\0') {
        return SGC_ERR_LAYOUT_FILE;
    }
    // A layout names, per camera index, the port its camera is attached to.
    std::map<std::int64_t, std::pair<unsigned, unsigned>> cameras; // index -> port, speed
    try {
        const IniDocument doc = IniDocument::ParseFile(path);
        for (const IniDocument::Section& section : doc.Sections()) {
            std::int64_t index = -1;
            if (section.name.rfind("camera", 0) != 0 ||
                !ParseInteger(section.name.substr(6), index) || index < 0) {
                throw doc.Error(section.line, "unknown section [" + section.name + "]");
            }
            const IniDocument::Entry* port = section.Find("port");
            if (port == nullptr) {
                throw doc.Error(section.line, "[" + section.name + "] needs a port");
            }
            unsigned speed = SGC_SPEED_AUTO;
            for (const IniDocument::Entry& entry : section.entries) {
                if (entry.key == "speed") {
                    speed = static_cast<unsigned>(doc.ToInteger(entry, 0, 0xFF));
                    if (!ValidSpeed(static_cast<int>(speed))) {
                        throw doc.Error(entry.line, "unknown link speed");
                    }
                } else if (entry.key != "port") {
                    throw doc.Error(entry.line, "unknown key '" + entry.key + "'");
                }
            }
            const auto number = static_cast<unsigned>(doc.ToInteger(*port, 0, 3));
            if (number >= ports_.size() || ports_[number] == nullptr) {
                throw doc.Error(port->line, "no camera on port " + std::to_string(number));
            }
            cameras[index] = {number, speed};
        }
    } catch (const ConfigError&) {
        return SGC_ERR_LAYOUT_FILE;
    }
    std::vector<CxpCamera*> known;
    for (const auto& entry : cameras) {
        CxpCamera* camera = ports_[entry.second.first].get();
        if (std::find(known.begin(), known.end(), camera) != known.end()) {
            return SGC_ERR_LAYOUT_FILE; // one camera listed twice
        }
        camera->SetSpeed(entry.second.second == SGC_SPEED_AUTO ? unsigned{SGC_SPEED_CXP6}
                                                               : entry.second.second);
        known.push_back(camera);
    }
    std::lock_guard<std::mutex> lock(mutex_);
    known_ = std::move(known);
    return SGC_OK;
}

int CxpBoard::Scan(unsigned portMask, int discoveryTimeoutMs, int speed) {
    if (portMask == 0 || (portMask & ~unsigned{SGC_ALL_PORTS}) != 0 || discoveryTimeoutMs <= 0) {
        return SGC_ERR_INVALID_ARGUMENT;
    }
    if (!ValidSpeed(speed)) {
        return SGC_ERR_INVALID_SPEED;
    }
    std::lock_guard<std::mutex> lock(mutex_);
    std::vector<CxpCamera*> known;
    for (CxpCamera* camera : known_) {
        if ((portMask & (1u << camera->Port())) == 0) {
            known.push_back(camera); // ports outside the mask keep what they had
        }
    }
    int result = SGC_OK;
    unsigned rank = 0; // attached cameras in port order; the first answering_ answer
    for (unsigned port = 0; port < ports_.size(); ++port) {
        CxpCamera* camera = ports_[port].get();
        if (camera == nullptr) {
            continue;
        }
        const bool answering = rank++ < answering_;
        if ((portMask & (1u << port)) == 0) {
            continue;
        }
        const bool inTime =
            camera->Device().AnswerMs() <= static_cast<unsigned>(discoveryTimeoutMs);
        if (answering && inTime && camera->Device().Powered()) {
            camera->SetSpeed(speed == SGC_SPEED_AUTO ? unsigned{SGC_SPEED_CXP6}
                                                     : static_cast<unsigned>(speed));
            known.push_back(camera);
        } else {
            // A linked camera that does not answer makes the discovery time out.
            result = SGC_ERR_DISCOVERY_TIMEOUT;
        }
    }
    std::sort(known.begin(), known.end(),
              [](const CxpCamera* a, const CxpCamera* b) { return a->Port() < b->Port(); });
    known_ = std::move(known);
    return result;
}

int CxpBoard::CameraCount() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return static_cast<int>(known_.size());
}

int CxpBoard::CameraByIndex(unsigned index, SgcCamera** camera) const {
    std::lock_guard<std::mutex> lock(mutex_);
    if (index >= known_.size()) {
        return SGC_ERR_NO_SUCH_CAMERA;
    }
    *camera = known_[index]->Handle();
    return SGC_OK;
}

int CxpBoard::PowerSwitch(unsigned portMask, int state) {
    if ((portMask & ~unsigned{SGC_ALL_PORTS}) != 0 ||
        (state != SGC_POWER_OFF && state != SGC_POWER_ON)) {
        return SGC_ERR_INVALID_ARGUMENT;
    }
    std::lock_guard<std::mutex> lock(mutex_);
    for (auto& camera : ports_) {
        if (camera == nullptr || (portMask & (1u << camera->Port())) == 0) {
            continue;
        }
        camera->Device().SetPowered(state == SGC_POWER_ON);
        if (state == SGC_POWER_OFF) {
            // A camera without power is gone until the next scan finds it again.
            known_.erase(std::remove(known_.begin(), known_.end(), camera.get()), known_.end());
        }
    }
    return SGC_OK;
}

std::vector<SgcCamera*> CxpBoard::Handles() const {
    std::vector<SgcCamera*> out;
    for (const auto& camera : ports_) {
        if (camera != nullptr) {
            out.push_back(camera->Handle());
        }
    }
    return out;
}

CxpCamera* CxpBoard::Own(const SgcCamera* handle) const {
    for (const auto& camera : ports_) {
        if (camera != nullptr && camera->Handle() == handle) {
            return camera.get();
        }
    }
    return nullptr;
}

void CxpBoard::Shutdown() {
    for (const auto& camera : ports_) {
        if (camera != nullptr) {
            camera->Device().Release(camera->Owner());
            camera->Device().LinkDown();
        }
    }
}

} // namespace sim

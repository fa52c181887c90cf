#include "CxpBoard.h"

#include "IniDocument.h"
#include <siso_genicam.h>

#include <algorithm>
#include <map>

namespace sim {

namespace {

bool validSpeed(int speed) {
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
    : m_grabber(std::move(grabber)), m_boardIndex(boardIndex), m_answering(answering) {
    m_handle.serial = nextHandleSerial();
    for (unsigned port = 0; port < ports.size(); ++port) {
        m_ports.push_back(ports[port] ? std::make_unique<CxpCamera>(ports[port], port) : nullptr);
    }
}

int CxpBoard::checkGrabber() const {
    return m_grabber.expired() ? SGC_ERR_INVALID_GRABBER : SGC_OK;
}

int CxpBoard::loadLayout(const char* path) {
    if (path == nullptr || path[0] == '\0') {
        return SGC_ERR_LAYOUT_FILE;
    }
    // A layout names, per camera index, the port its camera is attached to.
    std::map<std::int64_t, std::pair<unsigned, unsigned>> cameras; // index -> port, speed
    try {
        const IniDocument doc = IniDocument::parseFile(path);
        for (const IniDocument::Section& section : doc.sections()) {
            std::int64_t index = -1;
            if (section.name.rfind("camera", 0) != 0 ||
                !parseInteger(section.name.substr(6), index) || index < 0) {
                throw doc.error(section.line, "unknown section [" + section.name + "]");
            }
            const IniDocument::Entry* port = section.find("port");
            if (port == nullptr) {
                throw doc.error(section.line, "[" + section.name + "] needs a port");
            }
            unsigned speed = SGC_SPEED_AUTO;
            for (const IniDocument::Entry& entry : section.entries) {
                if (entry.key == "speed") {
                    speed = static_cast<unsigned>(doc.toInteger(entry, 0, 0xFF));
                    if (!validSpeed(static_cast<int>(speed))) {
                        throw doc.error(entry.line, "unknown link speed");
                    }
                } else if (entry.key != "port") {
                    throw doc.error(entry.line, "unknown key '" + entry.key + "'");
                }
            }
            const auto number = static_cast<unsigned>(doc.toInteger(*port, 0, 3));
            if (number >= m_ports.size() || m_ports[number] == nullptr) {
                throw doc.error(port->line, "no camera on port " + std::to_string(number));
            }
            cameras[index] = {number, speed};
        }
    } catch (const ConfigError&) {
        return SGC_ERR_LAYOUT_FILE;
    }
    std::vector<CxpCamera*> known;
    for (const auto& entry : cameras) {
        CxpCamera* camera = m_ports[entry.second.first].get();
        if (std::find(known.begin(), known.end(), camera) != known.end()) {
            return SGC_ERR_LAYOUT_FILE; // one camera listed twice
        }
        camera->setSpeed(entry.second.second == SGC_SPEED_AUTO ? unsigned{SGC_SPEED_CXP6}
                                                               : entry.second.second);
        known.push_back(camera);
    }
    std::lock_guard<std::mutex> lock(m_mutex);
    m_known = std::move(known);
    return SGC_OK;
}

int CxpBoard::scan(unsigned portMask, int discoveryTimeoutMs, int speed) {
    if (portMask == 0 || (portMask & ~unsigned{SGC_ALL_PORTS}) != 0 || discoveryTimeoutMs <= 0) {
        return SGC_ERR_INVALID_ARGUMENT;
    }
    if (!validSpeed(speed)) {
        return SGC_ERR_INVALID_SPEED;
    }
    std::lock_guard<std::mutex> lock(m_mutex);
    std::vector<CxpCamera*> known;
    for (CxpCamera* camera : m_known) {
        if ((portMask & (1u << camera->port())) == 0) {
            known.push_back(camera); // ports outside the mask keep what they had
        }
    }
    int result = SGC_OK;
    unsigned rank = 0; // attached cameras in port order; the first m_answering answer
    for (unsigned port = 0; port < m_ports.size(); ++port) {
        CxpCamera* camera = m_ports[port].get();
        if (camera == nullptr) {
            continue;
        }
        const bool answering = rank++ < m_answering;
        if ((portMask & (1u << port)) == 0) {
            continue;
        }
        const bool inTime =
            camera->device().answerMs() <= static_cast<unsigned>(discoveryTimeoutMs);
        if (answering && inTime && camera->device().powered()) {
            camera->setSpeed(speed == SGC_SPEED_AUTO ? unsigned{SGC_SPEED_CXP6}
                                                     : static_cast<unsigned>(speed));
            known.push_back(camera);
        } else {
            // A linked camera that does not answer makes the discovery time out.
            result = SGC_ERR_DISCOVERY_TIMEOUT;
        }
    }
    std::sort(known.begin(), known.end(),
              [](const CxpCamera* a, const CxpCamera* b) { return a->port() < b->port(); });
    m_known = std::move(known);
    return result;
}

int CxpBoard::cameraCount() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return static_cast<int>(m_known.size());
}

int CxpBoard::cameraByIndex(unsigned index, SgcCamera** camera) const {
    std::lock_guard<std::mutex> lock(m_mutex);
    if (index >= m_known.size()) {
        return SGC_ERR_NO_SUCH_CAMERA;
    }
    *camera = m_known[index]->handle();
    return SGC_OK;
}

int CxpBoard::powerSwitch(unsigned portMask, int state) {
    if ((portMask & ~unsigned{SGC_ALL_PORTS}) != 0 ||
        (state != SGC_POWER_OFF && state != SGC_POWER_ON)) {
        return SGC_ERR_INVALID_ARGUMENT;
    }
    std::lock_guard<std::mutex> lock(m_mutex);
    for (auto& camera : m_ports) {
        if (camera == nullptr || (portMask & (1u << camera->port())) == 0) {
            continue;
        }
        camera->device().setPowered(state == SGC_POWER_ON);
        if (state == SGC_POWER_OFF) {
            // A camera without power is gone until the next scan finds it again.
            m_known.erase(std::remove(m_known.begin(), m_known.end(), camera.get()), m_known.end());
        }
    }
    return SGC_OK;
}

std::vector<SgcCamera*> CxpBoard::handles() const {
    std::vector<SgcCamera*> out;
    for (const auto& camera : m_ports) {
        if (camera != nullptr) {
            out.push_back(camera->handle());
        }
    }
    return out;
}

CxpCamera* CxpBoard::own(const SgcCamera* handle) const {
    for (const auto& camera : m_ports) {
        if (camera != nullptr && camera->handle() == handle) {
            return camera.get();
        }
    }
    return nullptr;
}

void CxpBoard::shutdown() {
    for (const auto& camera : m_ports) {
        if (camera != nullptr) {
            camera->device().release(camera->owner());
            camera->device().linkDown();
        }
    }
}

} // namespace sim

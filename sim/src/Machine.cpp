#include "Machine.h"

#include "AppletParser.h"
#include "FaultTable.h"
#include "IniDocument.h"
#include "MachineParser.h"
#include <fglib5.h>
#include "simctl/SimControl.h"

#include <cstdlib>
#include <cstring>
#include <filesystem>

namespace sim {

Machine& Machine::instance() {
    static Machine machine;
    return machine;
}

Machine::~Machine() {
    // Stop engines of boards a program left open, before their threads outlive us.
    for (auto& entry : m_grabbers) {
        entry.second->shutdown();
    }
}

bool Machine::ensureLoaded() {
    if (!m_loaded.load(std::memory_order_acquire)) {
        std::unique_lock<std::shared_mutex> lock(m_mutex);
        if (!m_loaded.load(std::memory_order_relaxed)) {
            loadDefaultLocked();
        }
    }
    std::shared_lock<std::shared_mutex> lock(m_mutex);
    return m_setup != nullptr;
}

void Machine::loadDefaultLocked() {
    const char* dir = std::getenv("SISODIR5");
    const std::filesystem::path file = dir != nullptr && dir[0] != '\0'
                                           ? std::filesystem::path(dir) / kMachineFileName
                                           : std::filesystem::path();
    std::error_code ec;
    std::string error;
    if (!file.empty() && std::filesystem::exists(file, ec)) {
        const std::string path = file.string();
        installLocked([&] { return MachineParser::parseFile(path); }, error);
    } else {
        installLocked(
            [] {
                return MachineParser::parseText(MachineParser::embeddedDefault(), "embedded", "");
            },
            error);
    }
    m_loaded.store(true, std::memory_order_release);
}

int Machine::installLocked(const std::function<MachineSetup()>& parse, std::string& error) {
    try {
        auto setup = std::make_shared<MachineSetup>(parse());
        std::map<std::string, std::shared_ptr<CameraDevice>> cameras;
        for (const auto& [name, cameraSetup] : setup->cameras) {
            cameras[name] = std::make_shared<CameraDevice>(cameraSetup);
        }
        FaultTable& faults = FaultTable::instance();
        faults.clear();
        for (const FaultSetup& fault : setup->faults) {
            faults.armFailure(*FaultTable::lookup(fault.function.c_str()), fault.code, fault.count);
        }
        std::snprintf(m_runtime, sizeof(m_runtime), "%s", setup->runtime.c_str());
        m_cameras = std::move(cameras);
        m_setup = std::move(setup);
        m_loadError.clear();
        return SIMCTL_OK;
    } catch (const std::exception& e) {
        error = e.what();
        if (!m_loaded.load(std::memory_order_relaxed)) {
            // The lazy load failed: the machine stays unusable and says why.
            m_loadError = error;
            m_setup.reset();
            m_cameras.clear();
        }
        return SIMCTL_ERR_MACHINE;
    }
}

std::shared_ptr<const MachineSetup> Machine::setup() {
    ensureLoaded();
    std::shared_lock<std::shared_mutex> lock(m_mutex);
    return m_setup;
}

std::string Machine::loadError() {
    ensureLoaded();
    std::shared_lock<std::shared_mutex> lock(m_mutex);
    return m_loadError;
}

const char* Machine::runtimeVersion() {
    if (!ensureLoaded()) {
        return nullptr;
    }
    return m_runtime;
}

int Machine::boardType(int index) {
    const auto machine = setup();
    if (machine == nullptr || index < 0 || index >= kMaxBoards) {
        return -1;
    }
    const auto& board = machine->boards[static_cast<std::size_t>(index)];
    return board ? board->type : -1;
}

Fg_Grabber* Machine::openGrabber(const char* appletPath, unsigned boardIndex, int& code,
                                 std::string& detail) {
    const auto machine = setup();
    if (machine == nullptr) {
        code = FG_ERR_MACHINE;
        detail = loadError();
        return nullptr;
    }
    if (boardIndex >= static_cast<unsigned>(kMaxBoards) || !machine->boards[boardIndex] ||
        machine->boards[boardIndex]->type < 0) {
        code = FG_ERR_NO_SUCH_BOARD;
        detail = "board index " + std::to_string(boardIndex);
        return nullptr;
    }
    const BoardSetup& board = *machine->boards[boardIndex];
    if (appletPath == nullptr) {
        code = FG_ERR_NULL_ARGUMENT;
        detail = "applet configuration path";
        return nullptr;
    }
    AppletConfig applet;
    try {
        applet = AppletParser::parseFile(appletPath, board.dmas);
    } catch (const ConfigError& e) {
        code = FG_ERR_APPLET_CONFIG;
        detail = e.what();
        return nullptr;
    }
    auto grabber = std::make_shared<Grabber>(board, applet, machine->runtime);
    std::unique_lock<std::shared_mutex> lock(m_mutex);
    if (m_setup != machine) {
        code = FG_ERR_MACHINE;
        detail = "machine description replaced while opening";
        return nullptr;
    }
    for (const auto& entry : m_grabbers) {
        if (entry.second->boardIndex() == static_cast<int>(boardIndex)) {
            code = FG_ERR_BOARD_BUSY;
            detail = "board index " + std::to_string(boardIndex);
            return nullptr;
        }
    }
    Fg_Grabber* handle = grabber->handle();
    m_grabbers.emplace(handle, std::move(grabber));
    return handle;
}

std::shared_ptr<Grabber> Machine::grabber(const Fg_Grabber* handle) {
    std::shared_lock<std::shared_mutex> lock(m_mutex);
    const auto found = m_grabbers.find(handle);
    return found == m_grabbers.end() ? nullptr : found->second;
}

std::shared_ptr<Grabber> Machine::grabberOfBoard(int boardIndex) {
    std::shared_lock<std::shared_mutex> lock(m_mutex);
    for (const auto& entry : m_grabbers) {
        if (entry.second->boardIndex() == boardIndex) {
            return entry.second;
        }
    }
    return nullptr;
}

bool Machine::closeGrabber(const Fg_Grabber* handle) {
    std::shared_ptr<Grabber> grabber;
    {
        std::unique_lock<std::shared_mutex> lock(m_mutex);
        const auto found = m_grabbers.find(handle);
        if (found == m_grabbers.end()) {
            return false;
        }
        grabber = std::move(found->second);
        m_grabbers.erase(found);
    }
    // Calls still running on other threads keep the grabber alive; its DMAs stop now.
    grabber->shutdown();
    return true;
}

std::shared_ptr<CameraDevice> Machine::camera(const std::string& name) {
    ensureLoaded();
    std::shared_lock<std::shared_mutex> lock(m_mutex);
    const auto found = m_cameras.find(name);
    return found == m_cameras.end() ? nullptr : found->second;
}

bool Machine::claimSession(Session kind, int boardIndex) {
    std::unique_lock<std::shared_mutex> lock(m_mutex);
    return m_sessions.emplace(std::make_pair(kind, boardIndex), true).second;
}

void Machine::releaseSession(Session kind, int boardIndex) {
    std::unique_lock<std::shared_mutex> lock(m_mutex);
    m_sessions.erase(std::make_pair(kind, boardIndex));
}

bool Machine::busyLocked() const {
    return !m_grabbers.empty() || !m_sessions.empty();
}

int Machine::loadFile(const std::string& path, std::string& error) {
    std::unique_lock<std::shared_mutex> lock(m_mutex);
    if (busyLocked()) {
        error = "boards are open";
        return SIMCTL_ERR_BUSY;
    }
    const int result = installLocked([&] { return MachineParser::parseFile(path); }, error);
    m_loaded.store(m_loaded.load() || result == SIMCTL_OK, std::memory_order_release);
    return result;
}

int Machine::loadText(const std::string& text, std::string& error) {
    std::unique_lock<std::shared_mutex> lock(m_mutex);
    if (busyLocked()) {
        error = "boards are open";
        return SIMCTL_ERR_BUSY;
    }
    const int result = installLocked(
        [&] { return MachineParser::parseText(text, "machine text", std::string()); }, error);
    m_loaded.store(m_loaded.load() || result == SIMCTL_OK, std::memory_order_release);
    return result;
}

int Machine::reset(std::string& error) {
    std::unique_lock<std::shared_mutex> lock(m_mutex);
    if (busyLocked()) {
        error = "boards are open";
        return SIMCTL_ERR_BUSY;
    }
    m_setup.reset();
    m_cameras.clear();
    m_loadError.clear();
    m_runtime[0] = '\0';
    FaultTable::instance().clear();
    m_loaded.store(false, std::memory_order_release);
    return SIMCTL_OK;
}

} // namespace sim

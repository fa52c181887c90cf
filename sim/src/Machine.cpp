#include "Machine.h"

#include "AppletParser.h"
#include "FaultTable.h"
#include "IniDocument.h"
#include "MachineParser.h"
#include "simctl/SimControl.h"
#include <fglib5.h>

#include <platform/Environment.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <optional>

namespace sim {

Machine& Machine::Instance() {
    static Machine machine;
    return machine;
}

Machine::~Machine() {
    // Stop engines of boards a program left open, before their threads outlive us.
    for (auto& entry : grabbers_) {
        entry.second->Shutdown();
    }
}

bool Machine::EnsureLoaded() {
    if (!loaded_.load(std::memory_order_acquire)) {
        std::unique_lock<std::shared_mutex> lock(mutex_);
        if (!loaded_.load(std::memory_order_relaxed)) {
            LoadDefaultLocked();
        }
    }
    std::shared_lock<std::shared_mutex> lock(mutex_);
    return setup_ != nullptr;
}

void Machine::LoadDefaultLocked() {
    // The process environment as the platform layer keeps it: on Windows the C
    // run-time's copy misses what SetEnvironmentVariable changed after start-up.
    const std::optional<std::string> dir = platform::GetEnv("SISODIR5");
    const std::filesystem::path file = dir && !dir->empty()
                                           ? std::filesystem::path(*dir) / MachineFileName
                                           : std::filesystem::path();
    std::error_code ec;
    std::string error;
    if (!file.empty() && std::filesystem::exists(file, ec)) {
        const std::string path = file.string();
        InstallLocked([&] { return MachineParser::ParseFile(path); }, error);
    } else {
        InstallLocked(
            [] {
                return MachineParser::ParseText(MachineParser::EmbeddedDefault(), "embedded", "");
            },
            error);
    }
    loaded_.store(true, std::memory_order_release);
}

int Machine::InstallLocked(const std::function<MachineSetup()>& parse, std::string& error) {
    try {
        auto setup = std::make_shared<MachineSetup>(parse());
        std::map<std::string, std::shared_ptr<CameraDevice>> cameras;
        for (const auto& [name, cameraSetup] : setup->cameras) {
            cameras[name] = std::make_shared<CameraDevice>(cameraSetup);
        }
        FaultTable& faults = FaultTable::Instance();
        faults.Clear();
        for (const FaultSetup& fault : setup->faults) {
            faults.ArmFailure(*FaultTable::Lookup(fault.function.c_str()), fault.code, fault.count);
        }
        std::snprintf(runtime_, sizeof(runtime_), "%s", setup->runtime.c_str());
        cameras_ = std::move(cameras);
        setup_ = std::move(setup);
        loadError_.clear();
        return SIMCTL_OK;
    } catch (const std::exception& e) {
        error = e.what();
        if (!loaded_.load(std::memory_order_relaxed)) {
            // The lazy load failed: the machine stays unusable and says why.
            loadError_ = error;
            setup_.reset();
            cameras_.clear();
        }
        return SIMCTL_ERR_MACHINE;
    }
}

std::shared_ptr<const MachineSetup> Machine::Setup() {
    EnsureLoaded();
    std::shared_lock<std::shared_mutex> lock(mutex_);
    return setup_;
}

std::string Machine::LoadError() {
    EnsureLoaded();
    std::shared_lock<std::shared_mutex> lock(mutex_);
    return loadError_;
}

const char* Machine::RuntimeVersion() {
    if (!EnsureLoaded()) {
        return nullptr;
    }
    return runtime_;
}

int Machine::BoardType(int index) {
    const auto machine = Setup();
    if (machine == nullptr || index < 0 || index >= MaxBoards) {
        return -1;
    }
    const auto& board = machine->boards[static_cast<std::size_t>(index)];
    return board ? board->type : -1;
}

Fg_Grabber* Machine::OpenGrabber(const char* appletPath, unsigned boardIndex, int& code,
                                 std::string& detail) {
    const auto machine = Setup();
    if (machine == nullptr) {
        code = FG_ERR_MACHINE;
        detail = LoadError();
        return nullptr;
    }
    if (boardIndex >= static_cast<unsigned>(MaxBoards) || !machine->boards[boardIndex] ||
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
        applet = AppletParser::ParseFile(appletPath, board.dmas);
    } catch (const ConfigError& e) {
        code = FG_ERR_APPLET_CONFIG;
        detail = e.what();
        return nullptr;
    }
    auto grabber = std::make_shared<Grabber>(board, applet, machine->runtime);
    std::unique_lock<std::shared_mutex> lock(mutex_);
    if (setup_ != machine) {
        code = FG_ERR_MACHINE;
        detail = "machine description replaced while opening";
        return nullptr;
    }
    for (const auto& entry : grabbers_) {
        if (entry.second->BoardIndex() == static_cast<int>(boardIndex)) {
            code = FG_ERR_BOARD_BUSY;
            detail = "board index " + std::to_string(boardIndex);
            return nullptr;
        }
    }
    Fg_Grabber* handle = grabber->Handle();
    grabbers_.emplace(handle, std::move(grabber));
    return handle;
}

std::shared_ptr<Grabber> Machine::FindGrabber(const Fg_Grabber* handle) {
    std::shared_lock<std::shared_mutex> lock(mutex_);
    const auto found = grabbers_.find(handle);
    return found == grabbers_.end() ? nullptr : found->second;
}

std::shared_ptr<Grabber> Machine::GrabberOfBoard(int boardIndex) {
    std::shared_lock<std::shared_mutex> lock(mutex_);
    for (const auto& entry : grabbers_) {
        if (entry.second->BoardIndex() == boardIndex) {
            return entry.second;
        }
    }
    return nullptr;
}

bool Machine::CloseGrabber(const Fg_Grabber* handle) {
    std::shared_ptr<Grabber> grabber;
    {
        std::unique_lock<std::shared_mutex> lock(mutex_);
        const auto found = grabbers_.find(handle);
        if (found == grabbers_.end()) {
            return false;
        }
        grabber = found->second;
        grabbers_.erase(found);
        grabber->Invalidate();
        retired_.push_back(grabber);
    }
    // Calls still running on other threads find it stopped; its DMAs stop now.
    grabber->Shutdown();
    return true;
}

std::shared_ptr<CameraDevice> Machine::Camera(const std::string& name) {
    EnsureLoaded();
    std::shared_lock<std::shared_mutex> lock(mutex_);
    const auto found = cameras_.find(name);
    return found == cameras_.end() ? nullptr : found->second;
}

bool Machine::ClaimSession(Session kind, int boardIndex) {
    std::unique_lock<std::shared_mutex> lock(mutex_);
    return sessions_.emplace(std::make_pair(kind, boardIndex), true).second;
}

void Machine::ReleaseSession(Session kind, int boardIndex) {
    std::unique_lock<std::shared_mutex> lock(mutex_);
    sessions_.erase(std::make_pair(kind, boardIndex));
}

bool Machine::BusyLocked() const {
    return !grabbers_.empty() || !sessions_.empty();
}

int Machine::LoadFile(const std::string& path, std::string& error) {
    std::unique_lock<std::shared_mutex> lock(mutex_);
    if (BusyLocked()) {
        error = "boards are open";
        return SIMCTL_ERR_BUSY;
    }
    const int result = InstallLocked([&] { return MachineParser::ParseFile(path); }, error);
    loaded_.store(loaded_.load() || result == SIMCTL_OK, std::memory_order_release);
    return result;
}

int Machine::LoadText(const std::string& text, std::string& error) {
    std::unique_lock<std::shared_mutex> lock(mutex_);
    if (BusyLocked()) {
        error = "boards are open";
        return SIMCTL_ERR_BUSY;
    }
    const int result = InstallLocked(
        [&] { return MachineParser::ParseText(text, "machine text", std::string()); }, error);
    loaded_.store(loaded_.load() || result == SIMCTL_OK, std::memory_order_release);
    return result;
}

int Machine::Reset(std::string& error) {
    std::unique_lock<std::shared_mutex> lock(mutex_);
    if (BusyLocked()) {
        error = "boards are open";
        return SIMCTL_ERR_BUSY;
    }
    setup_.reset();
    cameras_.clear();
    loadError_.clear();
    runtime_[0] = '\0';
    FaultTable::Instance().Clear();
    loaded_.store(false, std::memory_order_release);
    return SIMCTL_OK;
}

} // namespace sim

// The simulated machine: its description, the open grabbers and the cameras.
#pragma once

#include "CameraDevice.h"
#include "Grabber.h"
#include "MachineSetup.h"
#include "SimExport.h"

#include <atomic>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <shared_mutex>
#include <string>
#include <unordered_map>

namespace sim {

// One per process. The description is loaded on the first SDK call (lazily, from
// $SISODIR5/fgsim_machine.ini or the embedded default) and kept until the test control
// replaces or resets it. A description that fails to load leaves a machine without boards
// whose load error every open call reports.
//
// Thread-safe: m_mutex (shared for lookups) guards m_setup, m_loadError, m_cameras,
// m_grabbers and m_sessions; m_loaded is set under it and read without it on the fast path.
class SIM_EXPORT Machine {
public:
    // Sessions other libraries hold on a board; the machine cannot be swapped under them.
    enum class Session { GigE, GenICam };

    static Machine& instance();
    static constexpr const char* kMachineFileName = "fgsim_machine.ini";

    // Loads the description if that has not happened yet; false when it is unusable.
    bool ensureLoaded();
    // The description (nullptr while unusable). Loads first when needed.
    std::shared_ptr<const MachineSetup> setup();
    std::string loadError();
    // The runtime version text, stable until the machine is replaced; nullptr if unusable.
    const char* runtimeVersion();
    // Board type at a vendor index: -1 when there is no board (or a declared hole).
    int boardType(int index);

    // Fg_OpenBoard: answers the new grabber, or nullptr with code and detail set.
    Fg_Grabber* openGrabber(const char* appletPath, unsigned boardIndex, int& code,
                            std::string& detail);
    std::shared_ptr<Grabber> grabber(const Fg_Grabber* handle);
    std::shared_ptr<Grabber> grabberOfBoard(int boardIndex);
    // Removes the grabber and stops its DMAs; false for an unknown handle.
    bool closeGrabber(const Fg_Grabber* handle);

    std::shared_ptr<CameraDevice> camera(const std::string& name);

    // false when that session is held already (one per board and kind).
    bool claimSession(Session kind, int boardIndex);
    void releaseSession(Session kind, int boardIndex);

    // Test control: 0 or a SIMCTL_ERR_* code with the reason in `error`.
    int loadFile(const std::string& path, std::string& error);
    int loadText(const std::string& text, std::string& error);
    int reset(std::string& error);

private:
    Machine() = default;
    ~Machine();
    void loadDefaultLocked();
    int installLocked(const std::function<MachineSetup()>& parse, std::string& error);
    bool busyLocked() const;

    std::atomic<bool> m_loaded{false};
    std::shared_mutex m_mutex;
    std::shared_ptr<const MachineSetup> m_setup;
    std::string m_loadError;
    char m_runtime[64] = {};
    std::map<std::string, std::shared_ptr<CameraDevice>> m_cameras;
    std::unordered_map<const Fg_Grabber*, std::shared_ptr<Grabber>> m_grabbers;
    std::map<std::pair<Session, int>, bool> m_sessions;
};

} // namespace sim

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
#include <vector>

namespace sim {

// One per process. The description is loaded on the first SDK call (lazily, from
// $SISODIR5/fgsim_machine.ini or the embedded default) and kept until the test control
// replaces or resets it. A description that fails to load leaves a machine without boards
// whose load error every open call reports.
//
// Thread-safe: mutex_ (shared for lookups) guards setup_, loadError_, cameras_,
// grabbers_, retired_ and sessions_; loaded_ is set under it and read without it on the
// fast path. Closed grabbers are kept (stopped, handle invalidated) for the process's
// life: the SDK calls resolve a handle to its grabber without a lock or a reference
// count, so a call still running on another thread, or a stale handle, must never find
// the grabber freed.
class SIM_EXPORT Machine {
public:
    // Sessions other libraries hold on a board; the machine cannot be swapped under them.
    enum class Session { GigE, GenICam };

    static Machine& Instance();
    static constexpr const char* MachineFileName = "fgsim_machine.ini";

    // Loads the description if that has not happened yet; false when it is unusable.
    bool EnsureLoaded();
    // The description (nullptr while unusable). Loads first when needed.
    std::shared_ptr<const MachineSetup> Setup();
    std::string LoadError();
    // The runtime version text, stable until the machine is replaced; nullptr if unusable.
    const char* RuntimeVersion();
    // Board type at a vendor index: -1 when there is no board (or a declared hole).
    int BoardType(int index);

    // Fg_OpenBoard: answers the new grabber, or nullptr with code and detail set.
    Fg_Grabber* OpenGrabber(const char* appletPath, unsigned boardIndex, int& code,
                            std::string& detail);
    std::shared_ptr<Grabber> FindGrabber(const Fg_Grabber* handle);
    std::shared_ptr<Grabber> GrabberOfBoard(int boardIndex);
    // Removes the grabber and stops its DMAs; false for an unknown handle.
    bool CloseGrabber(const Fg_Grabber* handle);

    std::shared_ptr<CameraDevice> Camera(const std::string& name);

    // false when that session is held already (one per board and kind).
    bool ClaimSession(Session kind, int boardIndex);
    void ReleaseSession(Session kind, int boardIndex);

    // Test control: 0 or a SIMCTL_ERR_* code with the reason in `error`.
    int LoadFile(const std::string& path, std::string& error);
    int LoadText(const std::string& text, std::string& error);
    int Reset(std::string& error);

private:
    Machine() = default;
    ~Machine();
    void LoadDefaultLocked();
    int InstallLocked(const std::function<MachineSetup()>& parse, std::string& error);
    bool BusyLocked() const;

    std::atomic<bool> loaded_{false};
    std::shared_mutex mutex_;
    std::shared_ptr<const MachineSetup> setup_;
    std::string loadError_;
    char runtime_[64] = {};
    std::map<std::string, std::shared_ptr<CameraDevice>> cameras_;
    std::unordered_map<const Fg_Grabber*, std::shared_ptr<Grabber>> grabbers_;
    std::vector<std::shared_ptr<Grabber>> retired_;
    std::map<std::pair<Session, int>, bool> sessions_;
};

} // namespace sim

#pragma once
// What the module needs besides itself, made where the environment lacks it:
//   data directory (ORVDATA)      Drivers/ORSisoMe.ini, Drivers/orvgrab.mcf
//   vendor runtime (SISODIR5)     fgsim_machine.ini, bin/siso_genicam.dll
//   registry (ORV_REGISTRY_FILE)  registry.ini with "Default Timeout"
//   debugger output (ORV_DEBUG_OUTPUT_FILE)  debug-output.log, when a sandbox is made
// The simulated machine is the simulator's default: one Camera Link board (type
// 1873) whose two DMAs produce the moving 640 x 480 gray8 pattern.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

/// Sets the variables for this process, so the module it loads afterwards finds
/// them. Files already there are kept, so an edited sandbox stays edited. Host
/// thread only; not for use while another thread reads the environment.
class Sandbox {
public:
    struct Settings {
        /// Build the sandbox here and keep it; it then provides every part except a
        /// given data directory. Unset: a temporary directory, removed at the end,
        /// for the parts the environment does not provide.
        std::optional<std::string> root;
        /// An existing data directory to use (ORVDATA).
        std::optional<std::string> dataDirectory;
        /// The simulated siso_genicam.dll the runtime directory links to.
        std::optional<std::string> genicamLibrary;
        /// A simulated machine file to use instead of the default one: linked as
        /// runtime-machine/fgsim_machine.ini, the runtime directory then.
        std::optional<std::string> machine;
        /// An applet file for every board: linked as data-applet/Drivers/orvgrab.mcf,
        /// the data directory then.
        std::optional<std::string> applet;
        uint32_t defaultTimeoutMs = 5000;
    };

    explicit Sandbox(const Settings& settings);
    ~Sandbox();
    Sandbox(const Sandbox&) = delete;
    Sandbox& operator=(const Sandbox&) = delete;

    /// The temporary directory that the destructor removes; empty when none.
    std::string TemporaryRoot() const { return temporary_ ? root_ : std::string(); }
    /// One line per part: where it is and where it came from.
    const std::vector<std::string>& Report() const { return report_; }

private:
    const std::string& Root();
    void UseDataDirectory(const std::string& directory);
    void MakeDataDirectory(const std::optional<std::string>& applet);
    void MakeRuntimeDirectory(const std::optional<std::string>& genicamLibrary,
                              const std::optional<std::string>& machine);
    void MakeRegistry(uint32_t defaultTimeoutMs);
    void UseSystemRegistry(uint32_t defaultTimeoutMs);

    std::string root_;
    bool temporary_ = false;
    std::vector<std::string> report_;
};

#pragma once
// A sandbox in which the driver meets the simulated frame-grabber machine: data
// directory (ORVDATA) with its Drivers folder, vendor runtime directory (SISODIR5)
// with the machine description and bin/siso_genicam.dll, and a registry file
// (ORV_REGISTRY_FILE). Everything is removed and every variable restored at the end.
//
//   SimEnvironment::Options options;
//   options.machineText = "[machine]\nruntime = 5.4.1\n\n[board0]\ntype = 1873\n";
//   options.configurationText = "[BOARD0]\ninifilemcf=%ORVDATA%Drivers\\acq.mcf\n";
//   SimEnvironment sim(options);
//   sim.WriteDriverFile("acq.mcf", appletText);

#include "support/ScopedEnvironmentVariable.h"
#include "support/TempDir.h"

#include <simctl/SimControl.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class SimEnvironment {
public:
    /// What bin/siso_genicam.dll links to.
    enum class GenICamLibrary {
        Complete,   // the simulated library with all 21 entries
        Incomplete, // the variant that lacks Sgc_getCameraPropertyWithType
        Absent      // no file at all
    };

    struct Options {
        /// Written to $SISODIR5/fgsim_machine.ini; nothing: no file, so the
        /// simulator uses its embedded machine (runtime 5.7.0, one Camera Link board).
        std::optional<std::string> machineText;
        GenICamLibrary genicam = GenICamLibrary::Complete;
        /// ORSisoMe.ini in the Drivers folder; nothing: no file.
        std::optional<std::string> configurationText;
        /// "Default Timeout" (milliseconds) in the product key; nothing: no value.
        std::optional<uint32_t> defaultTimeout = 1000;
        /// False: the product key itself is missing from the registry file.
        bool productKey = true;
        /// False: the variable is unset for the length of the sandbox.
        bool setDataDirectory = true;
        bool setRuntimeDirectory = true;
    };

    SimEnvironment();
    explicit SimEnvironment(const Options& options);
    ~SimEnvironment();
    SimEnvironment(const SimEnvironment&) = delete;
    SimEnvironment& operator=(const SimEnvironment&) = delete;

    const std::string& Root() const { return root_; }
    /// The value of ORVDATA: the data directory with a trailing '/'.
    const std::string& DataDirectory() const { return dataDirectory_; }
    /// The Drivers folder below the data directory, with a trailing '/'.
    std::string DriversDirectory() const { return dataDirectory_ + "Drivers/"; }
    /// The value of SISODIR5, without a trailing '/'.
    const std::string& RuntimeDirectory() const { return runtimeDirectory_; }
    std::string ConfigurationPath() const { return DriversDirectory() + "ORSisoMe.ini"; }
    std::string MachinePath() const;
    std::string RegistryPath() const { return root_ + "/registry.ini"; }

    /// Writes (or replaces) ORSisoMe.ini.
    void WriteConfiguration(const std::string& text) const;
    /// Writes a file into the Drivers folder (applet files, layouts, XML) and
    /// answers its full path.
    std::string WriteDriverFile(const std::string& name, const std::string& text) const;
    /// Replaces the machine description and resets the simulator so that the
    /// next SDK call reads it.
    void WriteMachine(const std::string& text) const;
    /// Sets ("Default Timeout" in ms) or deletes the value in the product key.
    void SetDefaultTimeout(std::optional<uint32_t> milliseconds) const;
    /// Drops the simulated machine, its faults and call counts; the next SDK
    /// call loads $SISODIR5 again. Throws while boards are still open.
    static void ResetMachine();

    static std::string ReadFile(const std::string& path);
    static void WriteFile(const std::string& path, const std::string& text);
    static bool Exists(const std::string& path);

    /// The built simulator libraries.
    static std::string GenICamLibraryPath(GenICamLibrary which);

private:
    orvtest::TempDir sandbox_; // removed last, after the variables are restored
    std::string root_;
    std::string dataDirectory_;
    std::string runtimeDirectory_;
    std::vector<std::unique_ptr<ScopedEnvironmentVariable>> variables_;
};

/// The simulator's record of board 0, DMA 0's buffer `bufferNumber`; a failed look
/// is a test failure.
SimCtlBufferRecord BufferRecord(int64_t bufferNumber);
/// The simulator's counters of board 0, DMA 0; a failed look is a test failure.
SimCtlDmaCounters DmaCounters();

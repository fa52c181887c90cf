#include "support/SimEnvironment.h"

#include <simctl/SimControl.h>

#include <platform/Registry.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace fs = std::filesystem;

namespace {

const char* const kProductKey = "Software\\Orvento\\Pictora";
const char* const kMachineFile = "fgsim_machine.ini";

// A link on POSIX; a copy on Windows, where a symbolic link needs a privilege.
void PlaceGenICamLibrary(const std::string& library, const std::string& place) {
#ifdef _WIN32
    fs::copy_file(library, place);
#else
    fs::create_symlink(library, place);
#endif
}

} // namespace

SimEnvironment::SimEnvironment() : SimEnvironment(Options()) {}

SimEnvironment::SimEnvironment(const Options& options)
    : sandbox_("orv-driver"), root_(sandbox_.path()) {
    try {
        dataDirectory_ = root_ + "/data/";
        runtimeDirectory_ = root_ + "/runtime";
        fs::create_directories(DriversDirectory());
        fs::create_directories(runtimeDirectory_ + "/bin");

        if (options.genicam != GenICamLibrary::Absent)
            PlaceGenICamLibrary(GenICamLibraryPath(options.genicam),
                                runtimeDirectory_ + "/bin/siso_genicam.dll");
        if (options.machineText)
            WriteFile(MachinePath(), *options.machineText);
        if (options.configurationText)
            WriteConfiguration(*options.configurationText);

        variables_.push_back(std::make_unique<ScopedEnvironmentVariable>(
            "ORVDATA",
            options.setDataDirectory ? std::optional<std::string>(dataDirectory_) : std::nullopt));
        variables_.push_back(std::make_unique<ScopedEnvironmentVariable>(
            "SISODIR5", options.setRuntimeDirectory ? std::optional<std::string>(runtimeDirectory_)
                                                    : std::nullopt));
        variables_.push_back(
            std::make_unique<ScopedEnvironmentVariable>("ORV_REGISTRY_FILE", RegistryPath()));

        if (options.productKey) {
            namespace reg = platform::registry;
            reg::ScopedKey key;
            if (reg::CreateKey(reg::Hive::LocalMachine, kProductKey, reg::KEY_ALL_ACCESS,
                               key.out()) != reg::ERROR_SUCCESS)
                throw std::runtime_error("cannot create the product key in " + RegistryPath());
            SetDefaultTimeout(options.defaultTimeout);
        }
        ResetMachine();
    } catch (...) {
        variables_.clear();
        throw;
    }
}

SimEnvironment::~SimEnvironment() {
    // A machine left busy (a board still open) keeps its old description; the
    // next sandbox reports that when it resets.
    SimCtl_ResetMachine();
    variables_.clear();
}

std::string SimEnvironment::MachinePath() const {
    return runtimeDirectory_ + "/" + kMachineFile;
}

void SimEnvironment::WriteConfiguration(const std::string& text) const {
    WriteFile(ConfigurationPath(), text);
}

std::string SimEnvironment::WriteDriverFile(const std::string& name,
                                            const std::string& text) const {
    const std::string path = DriversDirectory() + name;
    WriteFile(path, text);
    return path;
}

void SimEnvironment::WriteMachine(const std::string& text) const {
    WriteFile(MachinePath(), text);
    ResetMachine();
}

void SimEnvironment::SetDefaultTimeout(std::optional<uint32_t> milliseconds) const {
    namespace reg = platform::registry;
    reg::ScopedKey key;
    if (reg::CreateKey(reg::Hive::LocalMachine, kProductKey, reg::KEY_ALL_ACCESS, key.out()) !=
        reg::ERROR_SUCCESS)
        throw std::runtime_error("cannot open the product key in " + RegistryPath());
    if (milliseconds) {
        if (reg::SetDword(key.get(), "Default Timeout", *milliseconds) != reg::ERROR_SUCCESS)
            throw std::runtime_error("cannot write \"Default Timeout\"");
    } else {
        const int32_t result = reg::DeleteValue(key.get(), "Default Timeout");
        if (result != reg::ERROR_SUCCESS && result != reg::ERROR_FILE_NOT_FOUND)
            throw std::runtime_error("cannot delete \"Default Timeout\"");
    }
}

void SimEnvironment::ResetMachine() {
    if (SimCtl_ResetMachine() != SIMCTL_OK)
        throw std::runtime_error(std::string("cannot reset the simulated machine: ") +
                                 SimCtl_LastError());
    SimCtl_ClearFaults();
    SimCtl_ResetCallCounts();
}

std::string SimEnvironment::ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw std::runtime_error("cannot read " + path);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

void SimEnvironment::WriteFile(const std::string& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
    out.close();
    if (!out)
        throw std::runtime_error("cannot write " + path);
}

bool SimEnvironment::Exists(const std::string& path) {
    std::error_code ignored;
    return fs::exists(fs::symlink_status(path, ignored));
}

std::string SimEnvironment::GenICamLibraryPath(GenICamLibrary which) {
    switch (which) {
    case GenICamLibrary::Complete:
        return ORV_SIM_GENICAM_LIBRARY;
    case GenICamLibrary::Incomplete:
        return ORV_SIM_GENICAM_INCOMPLETE_LIBRARY;
    case GenICamLibrary::Absent:
        break;
    }
    return std::string();
}

SimCtlBufferRecord BufferRecord(int64_t bufferNumber) {
    SimCtlBufferRecord record{};
    EXPECT_EQ(SimCtl_GetBufferRecord(0, 0, bufferNumber, &record), SIMCTL_OK);
    return record;
}

SimCtlDmaCounters DmaCounters() {
    SimCtlDmaCounters counters{};
    EXPECT_EQ(SimCtl_GetDmaCounters(0, 0, &counters), SIMCTL_OK);
    return counters;
}

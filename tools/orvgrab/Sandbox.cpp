#include "Sandbox.h"

#include "ToolError.h"

#include <platform/Environment.h>
#include <platform/Registry.h>
#include <platform/TemporaryFiles.h>

#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <system_error>

namespace fs = std::filesystem;

namespace {

const char* const kProductKey = "Software\\Orvento\\Pictora";

// Every board and DMA a simulated machine may have gets the applet, so that
// --board and --dma find a configured channel.
constexpr int kConfiguredBoards = 4;
constexpr int kConfiguredDmas = 4;

std::string Configuration() {
    std::string text = "; ORSisoMe.ini written by orvgrab for the simulated machine's boards.\n"
                       "; The keys are described in docs/configuration.md.\n";
    for (int board = 0; board < kConfiguredBoards; ++board) {
        const std::string name = "BOARD" + std::to_string(board);
        text += "\n[" + name + "]\ninifilemcf=%ORVDATA%Drivers\\orvgrab.mcf\n";
        for (int dma = 0; dma < kConfiguredDmas; ++dma) {
            text += "\n[" + name + "_DMA" + std::to_string(dma) + "]\nframebuffers=3\n";
            if (board == 0 && dma == 0)
                text += "invertdim=false\nRotateImage=0\n";
        }
    }
    return text;
}

// The values an empty applet file gives, written out so that they can be edited.
const char* const kApplet = "; Applet configuration of the simulated board (docs/sim.md).\n"
                            "[dma0]\n"
                            "width = 640\n"
                            "height = 480\n"
                            "format = gray8\n"
                            "framerate = 0\n"
                            "pattern = moving\n"
                            "trigger = freerun\n"
                            "\n"
                            "[dma1]\n"
                            "width = 640\n"
                            "height = 480\n"
                            "format = gray8\n"
                            "framerate = 0\n"
                            "pattern = moving\n"
                            "trigger = freerun\n";

const char* const kMachine =
    "; The simulated frame-grabber machine (docs/sim.md): the simulator's\n"
    "; embedded default, one Camera Link board with two DMAs.\n"
    "[machine]\n"
    "runtime = 5.7.0\n"
    "\n"
    "[board0]\n"
    "type = 1873\n"
    "dmas = 2\n";

bool Exists(const fs::path& path) {
    std::error_code error;
    return fs::exists(path, error);
}

void MakeDirectories(const fs::path& path) {
    std::error_code error;
    fs::create_directories(path, error);
    if (!error && !fs::is_directory(path, error) && !error)
        error = std::make_error_code(std::errc::not_a_directory);
    if (error)
        throw ToolError("cannot create the directory " + path.string() + ": " + error.message());
}

/// Writes `text` unless the file is there already.
void WriteNew(const fs::path& path, const std::string& text) {
    if (Exists(path))
        return;
    errno = 0;
    std::ofstream out(path, std::ios::binary);
    out << text;
    out.close();
    if (!out)
        throw ToolError("cannot write " + path.string() +
                        (errno != 0 ? std::string(": ") + std::strerror(errno) : std::string()));
}

#ifdef _WIN32
// Symbolic links need a privilege on Windows, so the sandbox holds copies; a copy
// cannot be told from a user's file, so whatever is there is replaced.
void PlaceLink(const fs::path& link, const fs::path& target, std::error_code& error) {
    fs::copy_file(target, link, fs::copy_options::overwrite_existing, error);
}
bool IsOurLink(const fs::path& link, std::error_code& error) {
    return fs::is_regular_file(link, error);
}
#else
void PlaceLink(const fs::path& link, const fs::path& target, std::error_code& error) {
    fs::remove(link, error);
    fs::create_symlink(target, link, error);
}
bool IsOurLink(const fs::path& link, std::error_code& error) {
    return fs::is_symlink(link, error);
}
#endif

/// Points the link `link` at `target`; a link orvgrab made before is replaced,
/// anything else there is refused.
void Link(const fs::path& link, const std::string& target) {
    std::error_code error;
    const fs::path absolute = fs::absolute(target, error).lexically_normal();
    if (!fs::is_regular_file(absolute, error))
        throw ToolError("no file " + target);
    if (fs::exists(fs::symlink_status(link, error)) && !IsOurLink(link, error))
        throw ToolError(link.string() + " is a file of its own; orvgrab links only where it "
                                        "made the link itself");
    PlaceLink(link, absolute, error);
    if (error)
        throw ToolError("cannot link " + link.string() + " to " + absolute.string() + ": " +
                        error.message());
}

void SetVariable(const std::string& name, const std::string& value) {
    if (!platform::SetEnv(name, value))
        throw ToolError("cannot set " + name);
}

std::string WithSeparator(std::string directory) {
    if (directory.empty() || directory.back() != '/')
        directory += '/';
    return directory;
}

std::string MakeTemporaryDirectory() {
    try {
        return platform::MakeTemporaryDirectory("orvgrab");
    } catch (const std::system_error& error) {
        throw ToolError(std::string("cannot create a temporary sandbox: ") + error.what());
    }
}

} // namespace

Sandbox::Sandbox(const Settings& settings) {
    const bool forced = settings.root.has_value();
    if (settings.root) {
        MakeDirectories(*settings.root);
        root_ = fs::absolute(*settings.root).lexically_normal().string();
        if (root_.size() > 1 && root_.back() == '/')
            root_.pop_back();
    }
    try {
        if (settings.dataDirectory)
            UseDataDirectory(*settings.dataDirectory);
        else if (forced || settings.applet || !platform::GetEnv("ORVDATA"))
            MakeDataDirectory(settings.applet);
        else
            report_.push_back("data directory: " + *platform::GetEnv("ORVDATA") + " (ORVDATA)");

        if (forced || settings.machine || !platform::GetEnv("SISODIR5"))
            MakeRuntimeDirectory(settings.genicamLibrary, settings.machine);
        else
            report_.push_back("vendor runtime: " + *platform::GetEnv("SISODIR5") + " (SISODIR5)");

        if (forced || !platform::GetEnv("ORV_REGISTRY_FILE"))
            MakeRegistry(settings.defaultTimeoutMs);
        else
            report_.push_back("registry: " + *platform::GetEnv("ORV_REGISTRY_FILE") +
                              " (ORV_REGISTRY_FILE)");

        // The module's debugger output (the log set-up's complaints, for one) goes
        // with the sandbox rather than onto orvgrab's standard error.
        if (!root_.empty() && (forced || !platform::GetEnv("ORV_DEBUG_OUTPUT_FILE"))) {
            const std::string file = (fs::path(root_) / "debug-output.log").string();
            SetVariable("ORV_DEBUG_OUTPUT_FILE", file);
            report_.push_back("debug output: " + file + " (sandbox)");
        }
    } catch (...) {
        if (temporary_) {
            std::error_code ignored;
            fs::remove_all(root_, ignored);
        }
        throw;
    }
    if (temporary_)
        report_.push_back("sandbox: " + root_ + " (temporary, removed at exit)");
    else if (forced)
        report_.push_back("sandbox: " + root_ + " (kept)");
}

Sandbox::~Sandbox() {
    if (temporary_) {
        std::error_code ignored;
        fs::remove_all(root_, ignored);
    }
}

const std::string& Sandbox::Root() {
    if (root_.empty()) {
        root_ = MakeTemporaryDirectory();
        temporary_ = true;
    }
    return root_;
}

void Sandbox::UseDataDirectory(const std::string& directory) {
    std::error_code error;
    const fs::file_status status = fs::status(directory, error);
    if (!fs::is_directory(status))
        throw ToolError(
            "the data directory " + directory + ": " +
            (fs::exists(status)
                 ? std::string("not a directory")
                 : std::make_error_code(std::errc::no_such_file_or_directory).message()));
    const std::string value = WithSeparator(fs::absolute(directory).lexically_normal().string());
    SetVariable("ORVDATA", value);
    report_.push_back("data directory: " + value + " (--data-dir)");
}

void Sandbox::MakeDataDirectory(const std::optional<std::string>& applet) {
    // A given applet gets a data directory of its own, so that the sandbox's
    // editable applet file stays as it is.
    const fs::path data = fs::path(Root()) / (applet ? "data-applet" : "data");
    MakeDirectories(data / "Drivers");
    WriteNew(data / "Drivers" / "ORSisoMe.ini", Configuration());
    if (applet)
        Link(data / "Drivers" / "orvgrab.mcf", *applet);
    else
        WriteNew(data / "Drivers" / "orvgrab.mcf", kApplet);
    // The driver joins ORVDATA and "Drivers" without a separator.
    const std::string value = WithSeparator(data.string());
    SetVariable("ORVDATA", value);
    report_.push_back("data directory: " + value + " (sandbox)");
}

void Sandbox::MakeRuntimeDirectory(const std::optional<std::string>& genicamLibrary,
                                   const std::optional<std::string>& machine) {
    // A given machine gets a runtime directory of its own, as an applet does.
    const fs::path runtime = fs::path(Root()) / (machine ? "runtime-machine" : "runtime");
    MakeDirectories(runtime / "bin");
    if (machine)
        Link(runtime / "fgsim_machine.ini", *machine);
    else
        WriteNew(runtime / "fgsim_machine.ini", kMachine);
    // Without the GenICam library the driver's start-up stops before it reads its
    // configuration, so no board would be set up.
    const fs::path link = runtime / "bin" / "siso_genicam.dll";
    if (!Exists(link)) {
        if (!genicamLibrary)
            throw ToolError("no siso_genicam.dll next to the module to put into " +
                            (runtime / "bin").string());
        std::error_code error;
        PlaceLink(link, *genicamLibrary, error); // replaces a link left dangling by a moved build
        if (error)
            throw ToolError("cannot link " + link.string() + " to " + *genicamLibrary + ": " +
                            error.message());
    }
    SetVariable("SISODIR5", runtime.string());
    report_.push_back("vendor runtime: " + runtime.string() + " (sandbox)");
}

void Sandbox::MakeRegistry(uint32_t defaultTimeoutMs) {
    namespace reg = platform::registry;
    if (reg::StorePath().empty()) {
        UseSystemRegistry(defaultTimeoutMs);
        return;
    }
    const std::string file = (fs::path(Root()) / "registry.ini").string();
    SetVariable("ORV_REGISTRY_FILE", file);
    // A registry file already there is the user's, even without "Default Timeout".
    if (Exists(file)) {
        report_.push_back("registry: " + file + " (sandbox)");
        return;
    }
    reg::ScopedKey key;
    if (reg::CreateKey(reg::Hive::LocalMachine, kProductKey, reg::KEY_ALL_ACCESS, key.out()) !=
        reg::ERROR_SUCCESS)
        throw ToolError("cannot create the product key in " + file);
    if (reg::SetDword(key.get(), "Default Timeout", defaultTimeoutMs) != reg::ERROR_SUCCESS)
        throw ToolError("cannot write \"Default Timeout\" into " + file);
    report_.push_back("registry: " + file + " (sandbox)");
}

void Sandbox::UseSystemRegistry(uint32_t defaultTimeoutMs) {
    // Windows: the system's registry, where a value already set is the user's.
    namespace reg = platform::registry;
    const std::string where = std::string("HKEY_LOCAL_MACHINE\\") + kProductKey;
    reg::ScopedKey key;
    if (reg::CreateKey(reg::Hive::LocalMachine, kProductKey, reg::KEY_ALL_ACCESS, key.out()) !=
        reg::ERROR_SUCCESS)
        throw ToolError("cannot create the product key " + where);
    uint32_t existing = 0;
    if (reg::QueryDword(key.get(), "Default Timeout", &existing) != reg::ERROR_SUCCESS &&
        reg::SetDword(key.get(), "Default Timeout", defaultTimeoutMs) != reg::ERROR_SUCCESS)
        throw ToolError("cannot write \"Default Timeout\" into " + where);
    report_.push_back("registry: " + where + " (the system's)");
}

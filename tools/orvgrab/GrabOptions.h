#pragma once
// The command line of orvgrab.

#include <cstdint>
#include <optional>
#include <string>

class GrabOptions {
public:
    /// Reads argv[1..]; throws UsageError naming the offending argument.
    static GrabOptions Parse(int argc, const char* const* argv);
    /// The text --help prints.
    static const char* Usage();

    uint32_t count = 10;
    /// Unset: the channel's mode stays (0 on a fresh module).
    std::optional<uint32_t> lockMode;
    /// Unset: the number of buffers of ORSisoMe.ini.
    std::optional<int32_t> buffers;
    /// Unset: the registry's "Default Timeout".
    std::optional<uint32_t> timeoutMs;
    std::string output = "orvgrab.png";
    std::optional<std::string> dataDirectory;
    std::optional<std::string> sandbox;
    std::optional<std::string> module;
    bool help = false;
};

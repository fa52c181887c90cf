#pragma once
// The command line of orvgrab.

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

class GrabOptions {
public:
    /// Reads argv[1..]; throws UsageError naming the offending argument.
    static GrabOptions Parse(int argc, const char* const* argv);
    /// The text --help prints.
    static const char* Usage();

    /// 0: until Ctrl-C.
    uint32_t count = 10;
    std::optional<int32_t> board;
    std::optional<int32_t> dma;
    /// --size WxH, --offset X,Y.
    std::optional<std::pair<int32_t, int32_t>> size;
    std::optional<std::pair<int32_t, int32_t>> offset;
    /// Features to read and "FEATURE=VALUE" to write, in the order given.
    std::vector<std::string> get;
    std::vector<std::pair<std::string, std::string>> set;
    bool features = false;
    bool softwareTrigger = false;
    /// Software triggers per second; 0: as fast as images come.
    double rate = 0.0;
    /// Every image into this directory.
    std::optional<std::string> saveDirectory;
    /// "png" or "pgm" (Netpbm: PGM for gray, PPM for colour).
    std::string saveFormat = "png";
    std::optional<std::string> machine;
    std::optional<std::string> applet;
    bool verbose = false;
    bool list = false;
    bool json = false;

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

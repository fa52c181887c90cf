#pragma once
// Command line of the log service.

#include <cstdint>
#include <string>

namespace logsvc {

struct ServiceOptions {
    std::string configFile;   // empty: the built-in set for every module
    uint16_t commandPort = 0; // 0: any free port
    uint16_t recordPort = 0;
    std::string outputFile; // empty: standard output
    std::string readyFile;  // written once the service listens
    std::string blockName;  // the connection record's shared-memory block
    bool replaceBlock = false;
    bool help = false;

    /// Reads the arguments; std::invalid_argument with a one-line reason when
    /// they make no sense.
    static ServiceOptions Parse(int argc, const char* const* argv);
    static std::string Usage();
};

} // namespace logsvc

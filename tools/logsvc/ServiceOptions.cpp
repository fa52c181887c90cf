#include "ServiceOptions.h"

#include <nwLogging/ConnectionInfo.h>

#include <stdexcept>

namespace logsvc {

namespace {

uint16_t ParsePort(const std::string& option, const std::string& text) {
    // Decimal, 0 to 65535, without sign or leading zeros other than "0" itself.
    bool valid = !text.empty() && text.size() <= 5 && (text == "0" || text[0] != '0');
    uint32_t value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') {
            valid = false;
            break;
        }
        value = value * 10 + static_cast<uint32_t>(c - '0');
    }
    if (!valid || value > 65535)
        throw std::invalid_argument(option + " needs a port number from 0 to 65535, not '" + text +
                                    "'");
    return static_cast<uint16_t>(value);
}

} // namespace

ServiceOptions ServiceOptions::Parse(int argc, const char* const* argv) {
    ServiceOptions options;
    options.blockName =
        std::string(nwLogging::global_block_prefix) + nwLogging::connection_block_name;
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        auto value = [&]() -> std::string {
            if (i + 1 >= argc)
                throw std::invalid_argument(argument + " needs a value");
            return argv[++i];
        };
        if (argument == "--help" || argument == "-h")
            options.help = true;
        else if (argument == "--config")
            options.configFile = value();
        else if (argument == "--command-port")
            options.commandPort = ParsePort(argument, value());
        else if (argument == "--record-port")
            options.recordPort = ParsePort(argument, value());
        else if (argument == "--output")
            options.outputFile = value();
        else if (argument == "--ready-file")
            options.readyFile = value();
        else if (argument == "--block-name")
            options.blockName = value();
        else if (argument == "--replace")
            options.replaceBlock = true;
        else
            throw std::invalid_argument("unknown argument '" + argument + "' (see --help)");
    }
    if (options.blockName.empty())
        throw std::invalid_argument("--block-name needs a name");
    return options;
}

std::string ServiceOptions::Usage() {
    return "usage: orvlogsvc [options]\n"
           "\n"
           "The local log service: publishes its endpoints in shared memory, answers\n"
           "the logging configuration of each module and prints the records modules\n"
           "send. Listens on 127.0.0.1 only. Stops on SIGINT or SIGTERM.\n"
           "\n"
           "  --config FILE       JSON file of per-module configuration sets; read again\n"
           "                      for every request (default: every module logs to this\n"
           "                      service at level info)\n"
           "  --command-port N    UDP port for commands (default 0: any free port)\n"
           "  --record-port N     UDP port for records (default 0: any free port)\n"
           "  --output FILE       append decoded records to FILE (default: standard output)\n"
           "  --ready-file FILE   write the endpoints to FILE once listening\n"
           "  --block-name NAME   shared-memory block of the connection record\n"
           "                      (default: Global\\nwLogSvcConnectionInfo)\n"
           "  --replace           take over a block left behind by a service that\n"
           "                      did not stop cleanly\n"
           "  --help              this text\n";
}

} // namespace logsvc

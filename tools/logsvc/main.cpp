// orvlogsvc: the local log service (see docs/log-service.md).
#include "LogService.h"
#include "ServiceOptions.h"

#include <csignal>
#include <iostream>
#include <stdexcept>

namespace {

volatile std::sig_atomic_t stopSignal = 0;

extern "C" void RequestStop(int signal) {
    stopSignal = signal;
}

} // namespace

int main(int argc, char** argv) {
    logsvc::ServiceOptions options;
    try {
        options = logsvc::ServiceOptions::Parse(argc, argv);
    } catch (const std::invalid_argument& e) {
        std::cerr << "orvlogsvc: " << e.what() << "\n";
        return 2;
    }
    if (options.help) {
        std::cout << logsvc::ServiceOptions::Usage();
        return 0;
    }
    // Installed before the block exists, so a stop request never leaves it behind.
    std::signal(SIGINT, RequestStop);
    std::signal(SIGTERM, RequestStop);
#ifdef SIGPIPE
    // Output into a pipe whose reader went away must not kill the service
    // before it removes its block; the lines are simply lost.
    std::signal(SIGPIPE, SIG_IGN);
#endif
    try {
        logsvc::LogService service(options);
        service.Run([] { return stopSignal != 0; });
    } catch (const std::exception& e) {
        std::cerr << "orvlogsvc: " << e.what() << "\n";
        return 1;
    }
    return 0;
}

// orvlogsvc: the local log service (see docs/log-service.md).
#include "LogService.h"
#include "ServiceOptions.h"

#include <platform/StopRequests.h>

#include <atomic>
#include <chrono>
#include <csignal>
#include <iostream>
#include <stdexcept>

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
    // Caught before the block exists and before any thread starts, so a stop
    // request never leaves the block behind.
    platform::StopRequests stopRequests;
#ifdef SIGPIPE
    // Output into a pipe whose reader went away must not kill the service
    // before it removes its block; the lines are simply lost.
    std::signal(SIGPIPE, SIG_IGN);
#endif
    try {
        logsvc::LogService service(options);
        // Both serving loops ask; the first request must end both.
        std::atomic<bool> stopping{false};
        service.Run([&] {
            if (!stopping &&
                stopRequests.Next(std::chrono::milliseconds(0)) != platform::StopKind::None)
                stopping = true;
            return stopping.load();
        });
    } catch (const std::exception& e) {
        std::cerr << "orvlogsvc: " << e.what() << "\n";
        return 1;
    }
    return 0;
}

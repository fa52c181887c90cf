#include <nwLogging/ConsoleTarget.h>
#include <nwLogging/FileTarget.h>
#include <nwLogging/LogSvcTarget.h>
#include <nwLogging/StdoutTarget.h>
#include <nwLogging/TargetFactory.h>
#include <nwLogging/TraceTarget.h>

namespace nwLogging {

target_ptr make_target(const log_config& config, const endpoint& service_records) {
    switch (config.target) {
    case destination::file:
        return std::make_shared<basic_file_target>(config.file);
    case destination::cout:
        return std::make_shared<basic_stdout_target>(basic_stdout_target::stream::standard_output);
    case destination::cerr:
        return std::make_shared<basic_stdout_target>(basic_stdout_target::stream::standard_error);
    case destination::trace:
        return std::make_shared<basic_trace_target>();
    case destination::console:
        return std::make_shared<basic_console_target>("", 80, 25, true, true);
    case destination::logsvc: {
        const endpoint receiver =
            config.sockaddr.empty() ? service_records : parse_socket_address(config.sockaddr);
        return std::make_shared<basic_logsvc_target>(receiver, config.thread_id);
    }
    case destination::none:
    case destination::evtlog:
        break;
    }
    return nullptr;
}

} // namespace nwLogging

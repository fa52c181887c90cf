#include <nwLogging/ConfigureModule.h>
#include <nwLogging/ConnectionInfo.h>
#include <nwLogging/LogConfig.h>
#include <nwLogging/LogSvcError.h>
#include <nwLogging/Logger.h>
#include <nwLogging/TargetFactory.h>

#include <platform/DebugOutput.h>

#include <boost/property_tree/ptree.hpp>

namespace nwLogging {

namespace {

constexpr const char* fetch_failure = "Failed to retrieve/decode the log configuration for module ";
constexpr const char* setup_failure = "Failed to configure the logging infrastructure for module ";

void report(const char* what, const std::string& module, const char* why) noexcept {
    try {
        // With its own line end: on POSIX the debugger output is a text file
        // or standard error, where the next message must start a new line.
        platform::OutputDebugText(what + module + ": " + why + "\n");
    } catch (...) {
        // Nowhere left to tell.
    }
}

// Steps that talk to the service. The command client is closed (socket, then
// socket library) on every way out.
log_config fetch_configuration(const std::string& module, const std::string& description,
                               const attribute_set& attributes, endpoint& service_records) {
    const connection_info info = connection_info::read();
    service_records = info.records;
    logsvc_command_client client(info.command);
    const log_config config = log_config::read(client.get_configuration(module, attributes));
    if (!description.empty()) {
        try {
            client.set_description(module, description);
        } catch (const LogSvcError&) {
            // The description is a courtesy to the service; logging works without it.
        }
    }
    client.close();
    return config;
}

} // namespace

bool configure_module(const std::string& module, const std::string& description,
                      const attribute_set& attributes) noexcept {
    bool succeeded = true;
    log_config config;
    endpoint serviceRecords;
    try {
        config = fetch_configuration(module, description, attributes, serviceRecords);
    } catch (const std::exception& e) {
        report(fetch_failure, module, e.what());
        config = log_config();
        succeeded = false;
    } catch (...) {
        report(fetch_failure, module, "Unknown exception");
        config = log_config();
        succeeded = false;
    }

    try {
        target_ptr target = make_target(config, serviceRecords);
        const logger_ptr& root = root_logger();
        root->set_root_name(module);
        root->state()->set_level_mask(config.level_mask); // under the state's exclusive lock
        if (target)
            install_target(std::make_shared<basic_target_filter>(), std::move(target));
    } catch (const std::exception& e) {
        report(setup_failure, module, e.what());
        succeeded = false;
    } catch (...) {
        report(setup_failure, module, "Unknown exception");
        succeeded = false;
    }
    return succeeded;
}

} // namespace nwLogging

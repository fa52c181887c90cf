#pragma once
// A module's logging set-up from the machine's log service.

#include <nwLogging/LogSvcCommandClient.h>

#include <string>

namespace nwLogging {

/// Asks the log service for the configuration of `module`, tells it the
/// description (when not empty), builds the configured target and installs it,
/// names the root logger `module` and sets the level mask. Without a usable
/// answer the module logs nowhere (mask 0). Each failure is reported once to
/// the debugger output, as "Failed to retrieve/decode the log configuration for
/// module <module>: <text>" or "Failed to configure the logging infrastructure
/// for module <module>: <text>". True when nothing failed. Never throws.
/// Runs once per module load, before anything else logs.
bool configure_module(const std::string& module, const std::string& description,
                      const attribute_set& attributes) noexcept;

} // namespace nwLogging

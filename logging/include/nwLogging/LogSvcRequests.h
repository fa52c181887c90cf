#pragma once
// The JSON payloads of the log service's commands.

#include <nwLogging/LogSvcCommandClient.h>

#include <string>

namespace nwLogging {

/// The executable's file name without directory and extension. LogSvcError
/// "Could not obtain the current executable path" or "Failed to extract process
/// name from the executable path" when it cannot be found.
std::string current_process_name();

/// {"module": ..., "process": ..., attributes...}; `process` is left out when
/// the process name cannot be found, and an attribute never replaces `module`
/// or `process`. LogSvcError "Failed to serialize the attrtibute set" when the
/// JSON cannot be written.
std::string get_configuration_payload(const std::string& module, const attribute_set& attributes);

/// {"module": ..., "description": ...}.
std::string set_description_payload(const std::string& module, const std::string& description);

} // namespace nwLogging

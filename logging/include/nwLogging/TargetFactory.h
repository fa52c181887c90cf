#pragma once
// The one target a module's log configuration asks for.

#include <nwLogging/Endpoint.h>
#include <nwLogging/LogConfig.h>
#include <nwLogging/Target.h>

namespace nwLogging {

/// A new target for `config`: null for none and evtlog. A logsvc target sends
/// to the configured sockaddr, or to `service_records` when that is empty.
/// Throws what the target's construction throws (a file that cannot be
/// opened, an address that does not parse, a socket that cannot be made).
target_ptr make_target(const log_config& config, const endpoint& service_records);

} // namespace nwLogging

#pragma once
// Turns a record datagram into the service's output line.

#include <nwLogging/MessageContainerReader.h>

#include <cstddef>
#include <cstdint>
#include <string>

namespace logsvc {

/// The line of one record:
///   <time> <logger> [<group>|<level>] pid=<p> tid=<t> loc=<location> seq=<n> <flags> | <text>
/// The logger is left out when empty, the group when there is none, tid is "-"
/// without a thread-id item, loc is left out without a location, and the flag
/// words "dropped", "truncated" and "attributes=<n>" appear when they apply.
/// Line ends in the text are written as \n, other control characters but the
/// tab as \xHH, so each record stays one line.
class RecordPrinter {
public:
    /// Checks the datagram (header magic, record flag, command, length) and its
    /// container; std::runtime_error with the reason when they are wrong.
    static nwLogging::decoded_container Decode(const uint8_t* data, std::size_t size,
                                               bool truncated = false);
    static std::string Format(const nwLogging::decoded_container& record);
};

} // namespace logsvc

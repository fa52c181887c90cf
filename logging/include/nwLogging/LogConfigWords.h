#pragma once
// The words of a module's log configuration set: destinations, level masks and
// booleans. Every refusal is a LogSvcError naming the word.

#include <cstdint>
#include <string>

namespace nwLogging {

/// Target kinds, with the codes the configuration words map to.
enum class destination : uint32_t {
    none = 0,
    file = 1,
    cout = 2,
    cerr = 3,
    trace = 4,
    console = 5,
    evtlog = 6, // accepted; nothing is created for it
    logsvc = 7,
};

/// "none", "file", "cout", "cerr", "trace", "console", "evtlog", "logsvc"
/// (exact); "Unknown log destination specified: <word>" otherwise.
destination parse_destination(const std::string& word);

/// "none" 0, "fatal" 1, "err"/"error" 3, "warn"/"warning" 7, "info" 15,
/// "trace" 31, "debug" 63, "all" 255, or "0x"/"0X" and hexadecimal digits for
/// any 32-bit mask but all-ones; "Unknown log level specified: <word>" otherwise.
uint32_t parse_level_mask(const std::string& word);

/// "true", "on", "enabled", "1" and "false", "off", "disabled", "0";
/// "Unrecognized boolean value string specified: <word>" otherwise.
bool parse_boolean(const std::string& word);

} // namespace nwLogging

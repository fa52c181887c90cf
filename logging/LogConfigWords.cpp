#include <nwLogging/LogConfigWords.h>
#include <nwLogging/LogSvcError.h>

#include <optional>

namespace nwLogging {

namespace {

std::optional<uint32_t> hex_mask(const std::string& word) {
    if (word.size() <= 2 || word[0] != '0' || (word[1] != 'x' && word[1] != 'X'))
        return std::nullopt;
    uint64_t value = 0;
    for (std::size_t i = 2; i < word.size(); ++i) {
        const char c = word[i];
        unsigned digit = 0;
        if (c >= '0' && c <= '9')
            digit = static_cast<unsigned>(c - '0');
        else if (c >= 'a' && c <= 'f')
            digit = static_cast<unsigned>(c - 'a' + 10);
        else if (c >= 'A' && c <= 'F')
            digit = static_cast<unsigned>(c - 'A' + 10);
        else
            return std::nullopt;
        value = value * 16 + digit;
        // Leading zeros are harmless; a value wider than the mask is not.
        if (value > 0xFFFFFFFFu)
            return std::nullopt;
    }
    // All ones would switch on every bit, levels nobody defined included.
    if (value == 0xFFFFFFFFu)
        return std::nullopt;
    return static_cast<uint32_t>(value);
}

} // namespace

destination parse_destination(const std::string& word) {
    if (word == "none")
        return destination::none;
    if (word == "file")
        return destination::file;
    if (word == "cout")
        return destination::cout;
    if (word == "cerr")
        return destination::cerr;
    if (word == "trace")
        return destination::trace;
    if (word == "console")
        return destination::console;
    if (word == "evtlog")
        return destination::evtlog;
    if (word == "logsvc")
        return destination::logsvc;
    throw LogSvcError("Unknown log destination specified: " + word);
}

uint32_t parse_level_mask(const std::string& word) {
    if (word == "none")
        return 0;
    if (word == "fatal")
        return 1;
    if (word == "err" || word == "error")
        return 3;
    if (word == "warn" || word == "warning")
        return 7;
    if (word == "info")
        return 15;
    if (word == "trace")
        return 31;
    if (word == "debug")
        return 63;
    if (word == "all")
        return 255;
    if (const std::optional<uint32_t> mask = hex_mask(word))
        return *mask;
    throw LogSvcError("Unknown log level specified: " + word);
}

bool parse_boolean(const std::string& word) {
    if (word == "true" || word == "on" || word == "enabled" || word == "1")
        return true;
    if (word == "false" || word == "off" || word == "disabled" || word == "0")
        return false;
    throw LogSvcError("Unrecognized boolean value string specified: " + word);
}

} // namespace nwLogging

#include <nwLogging/LogConfig.h>
#include <nwLogging/LogSvcError.h>

#include <boost/property_tree/ptree.hpp>

#include <optional>

namespace nwLogging {

namespace {

// Looked up among the set's own keys, not as a dotted path: a key is a name.
std::optional<std::string> value_of(const boost::property_tree::ptree& set, const char* key) {
    try {
        const auto found = set.find(key);
        if (found == set.not_found())
            return std::nullopt;
        if (!found->second.empty()) // an object or a list where a word belongs
            throw LogSvcError("Unexpected failure when accessing the log config property tree");
        return found->second.data();
    } catch (const LogSvcError&) {
        throw;
    } catch (...) {
        throw LogSvcError("Unexpected failure when accessing the log config property tree");
    }
}

std::string required(const boost::property_tree::ptree& set, const char* key) {
    std::optional<std::string> value = value_of(set, key);
    if (!value)
        throw LogSvcError("The configuration set does not contain the requested parameter");
    return *value;
}

} // namespace

log_config log_config::read(const boost::property_tree::ptree& set) {
    log_config config;
    config.target = parse_destination(required(set, "destination"));
    config.level_mask = parse_level_mask(required(set, "level"));
    if (config.target == destination::file)
        config.file = required(set, "file");
    if (config.target == destination::logsvc) {
        config.sockaddr = value_of(set, "sockaddr").value_or("");
        config.thread_id = parse_boolean(value_of(set, "thread_id").value_or("on"));
    }
    return config;
}

} // namespace nwLogging

#pragma once
// A module's log configuration, read from the set the log service answers.

#include <nwLogging/LogConfigWords.h>

#include <boost/property_tree/ptree_fwd.hpp>

#include <cstdint>
#include <string>

namespace nwLogging {

struct log_config {
    destination target = destination::none;
    uint32_t level_mask = 0;
    std::string file;       // destination file
    std::string sockaddr;   // destination logsvc: the record receiver, empty for the service's
    bool thread_id = false; // destination logsvc: records carry the thread id

    /// Reads `destination` and `level` (required), `file` for file, `sockaddr`
    /// (default empty) and `thread_id` (default "on") for logsvc. A missing
    /// required key raises LogSvcError "The configuration set does not contain
    /// the requested parameter", a key that is not a plain value "Unexpected
    /// failure when accessing the log config property tree"; bad words raise
    /// their own errors.
    static log_config read(const boost::property_tree::ptree& set);
};

} // namespace nwLogging

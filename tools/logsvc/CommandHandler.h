#pragma once
// The service's side of the command exchange: one request datagram in, one
// acknowledge out.

#include "ConfigurationStore.h"

#include <nwLogging/DatagramHeader.h>

#include <cstddef>
#include <cstdint>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace logsvc {

/// Status words of a negative acknowledge.
enum AckStatus : uint16_t {
    AckOk = 0,
    AckUnknownModule = 1, // no set for the module
    AckBadRequest = 2,    // flags set, payload not a JSON object, module missing
    AckConfigurationUnreadable = 3,
    AckAnswerTooLong = 4, // the set does not fit into one datagram
    AckUnknownCommand = 5,
};

/// Thread-safe: descriptions are kept under a mutex.
class CommandHandler {
public:
    explicit CommandHandler(const ConfigurationStore& store);

    struct Outcome {
        std::optional<std::vector<uint8_t>> reply; // nothing: the datagram is ignored
        std::string note;                          // what happened, for the service's log
    };

    /// Answers one datagram. Datagrams that are not commands (too short, cut,
    /// another magic, a length that does not agree, an acknowledge) get no
    /// answer; every command gets an acknowledge, negative when it fails.
    Outcome Handle(const uint8_t* data, std::size_t size, bool truncated = false);

    /// The last description each module gave.
    std::map<std::string, std::string> Descriptions() const;

private:
    Outcome GetConfiguration(const nwLogging::datagram_header& request, const std::string& payload);
    Outcome SetDescription(const nwLogging::datagram_header& request, const std::string& payload);
    static std::vector<uint8_t> Acknowledge(const nwLogging::datagram_header& request,
                                            uint16_t status, const std::string& payload);

    const ConfigurationStore& store_;
    mutable std::mutex mutex_; // guards descriptions_
    std::map<std::string, std::string> descriptions_;
};

} // namespace logsvc

#include "CommandHandler.h"

#include <boost/property_tree/json_parser.hpp>

#include <cstring>
#include <sstream>

namespace logsvc {

namespace pt = boost::property_tree;
using nwLogging::datagram_header;

namespace {

// The request's keys; nothing when the payload is not a JSON object.
std::optional<pt::ptree> ParseRequest(const std::string& payload) {
    try {
        std::istringstream text(payload);
        pt::ptree request;
        pt::read_json(text, request);
        if (!request.data().empty())
            return std::nullopt;
        return request;
    } catch (const pt::json_parser_error&) {
        return std::nullopt;
    }
}

std::string Value(const pt::ptree& request, const char* key) {
    const auto found = request.find(key);
    return found == request.not_found() ? std::string() : found->second.data();
}

} // namespace

CommandHandler::CommandHandler(const ConfigurationStore& store) : store_(store) {}

std::vector<uint8_t> CommandHandler::Acknowledge(const datagram_header& request, uint16_t status,
                                                 const std::string& payload) {
    datagram_header ack;
    ack.magic = nwLogging::command_magic;
    ack.command = static_cast<uint16_t>(request.command | nwLogging::acknowledge_bit);
    ack.status = status;
    ack.request_id = request.request_id;
    ack.payload_length = static_cast<uint16_t>(payload.size());
    std::vector<uint8_t> bytes(nwLogging::datagram_header_size + payload.size());
    ack.encode(bytes.data());
    if (!payload.empty())
        std::memcpy(bytes.data() + nwLogging::datagram_header_size, payload.data(), payload.size());
    return bytes;
}

CommandHandler::Outcome CommandHandler::Handle(const uint8_t* data, std::size_t size,
                                               bool truncated) {
    Outcome outcome;
    if (truncated || size < nwLogging::datagram_header_size) {
        outcome.note = "ignored a datagram that is too short or too long for a command";
        return outcome;
    }
    const datagram_header request = datagram_header::decode(data);
    if (request.magic != nwLogging::command_magic ||
        size != nwLogging::datagram_header_size + request.payload_length ||
        (request.command & nwLogging::acknowledge_bit) != 0) {
        outcome.note = "ignored a datagram that is not a command";
        return outcome;
    }
    const std::string payload(reinterpret_cast<const char*>(data + nwLogging::datagram_header_size),
                              request.payload_length);
    if (request.flags != 0) {
        outcome.reply = Acknowledge(request, AckBadRequest, std::string());
        outcome.note = "refused a command with flags set";
        return outcome;
    }
    switch (request.command) {
    case nwLogging::command_get_configuration:
        return GetConfiguration(request, payload);
    case nwLogging::command_set_description:
        return SetDescription(request, payload);
    default:
        outcome.reply = Acknowledge(request, AckUnknownCommand, std::string());
        outcome.note = "refused unknown command " + std::to_string(request.command);
        return outcome;
    }
}

CommandHandler::Outcome CommandHandler::GetConfiguration(const datagram_header& request,
                                                         const std::string& payload) {
    Outcome outcome;
    const std::optional<pt::ptree> keys = ParseRequest(payload);
    const std::string module = keys ? Value(*keys, "module") : std::string();
    if (module.empty()) {
        outcome.reply = Acknowledge(request, AckBadRequest, std::string());
        outcome.note = "refused a configuration request without module name";
        return outcome;
    }
    const std::string process = Value(*keys, "process");
    const std::string who = module + (process.empty() ? "" : " (process " + process + ")");
    std::optional<pt::ptree> set;
    try {
        set = store_.Lookup(module, process);
    } catch (const std::exception& e) {
        outcome.reply = Acknowledge(request, AckConfigurationUnreadable, std::string());
        outcome.note = "cannot answer " + who + ": " + e.what();
        return outcome;
    }
    if (!set) {
        outcome.reply = Acknowledge(request, AckUnknownModule, std::string());
        outcome.note = "no configuration set for " + who;
        return outcome;
    }
    std::ostringstream text;
    pt::write_json(text, *set, false);
    const std::string answer = text.str();
    if (answer.size() > nwLogging::max_payload_size) {
        outcome.reply = Acknowledge(request, AckAnswerTooLong, std::string());
        outcome.note = "the configuration set for " + who + " does not fit into a datagram";
        return outcome;
    }
    outcome.reply = Acknowledge(request, AckOk, answer);
    outcome.note = "configured " + who;
    return outcome;
}

CommandHandler::Outcome CommandHandler::SetDescription(const datagram_header& request,
                                                       const std::string& payload) {
    Outcome outcome;
    const std::optional<pt::ptree> keys = ParseRequest(payload);
    const std::string module = keys ? Value(*keys, "module") : std::string();
    if (module.empty()) {
        outcome.reply = Acknowledge(request, AckBadRequest, std::string());
        outcome.note = "refused a description without module name";
        return outcome;
    }
    const std::string description = Value(*keys, "description");
    {
        std::lock_guard<std::mutex> guard(mutex_);
        descriptions_[module] = description;
    }
    outcome.reply = Acknowledge(request, AckOk, std::string());
    outcome.note = "module " + module + " describes itself as: " + description;
    return outcome;
}

std::map<std::string, std::string> CommandHandler::Descriptions() const {
    std::lock_guard<std::mutex> guard(mutex_);
    return descriptions_;
}

} // namespace logsvc

// The log service's command exchange as a peer may answer it: the request
// payload built from the module's name and attributes, then a datagram checked
// as the acknowledge of that request, its configuration set and the words and
// address in it.
#include <nwLogging/DatagramHeader.h>
#include <nwLogging/Endpoint.h>
#include <nwLogging/LogConfig.h>
#include <nwLogging/LogSvcCommandClient.h>
#include <nwLogging/LogSvcError.h>
#include <nwLogging/LogSvcRequests.h>

#include <boost/property_tree/ptree.hpp>

#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

/// Only ASCII reads back byte for byte: JSON escapes other bytes as code points.
bool Ascii(const std::string& text) {
    for (char c : text)
        if (static_cast<unsigned char>(c) >= 0x80)
            return false;
    return true;
}

void Request(FuzzedDataProvider& input) {
    const std::string module = input.ConsumeRandomLengthString(32);
    nwLogging::attribute_set attributes;
    for (int count = input.ConsumeIntegralInRange(0, 3); count > 0; --count) {
        std::string key = input.ConsumeRandomLengthString(16);
        attributes[key] = input.ConsumeRandomLengthString(16);
    }
    const std::string payload = nwLogging::get_configuration_payload(module, attributes);
    const boost::property_tree::ptree set =
        nwLogging::logsvc_command_client::read_configuration_set(payload);
    // No attribute replaces the module's name.
    if (Ascii(module) && set.get<std::string>("module") != module)
        std::abort();
}

void Acknowledge(const std::vector<uint8_t>& datagram) {
    nwLogging::datagram_header request;
    request.magic = nwLogging::command_magic;
    request.command = nwLogging::command_get_configuration;
    request.request_id = 0x1234; // the seeds answer this id
    const nwLogging::command_reply reply = nwLogging::logsvc_command_client::read_acknowledge(
        datagram.data(), datagram.size(), request);
    if (reply.payload.size() != datagram.size() - nwLogging::datagram_header_size)
        std::abort();
    const nwLogging::log_config config = nwLogging::log_config::read(
        nwLogging::logsvc_command_client::read_configuration_set(reply.payload));
    if (!config.sockaddr.empty())
        nwLogging::parse_socket_address(config.sockaddr);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider input(data, size);
    try {
        if (input.ConsumeBool()) {
            Request(input);
            return 0;
        }
        Acknowledge(input.ConsumeRemainingBytes<uint8_t>());
    } catch (const nwLogging::LogSvcError&) {
        // every refusal the client knows
    }
    return 0;
}

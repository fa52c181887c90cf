#include <nwLogging/LogSvcCommandClient.h>
#include <nwLogging/LogSvcError.h>
#include <nwLogging/LogSvcRequests.h>

#include <boost/property_tree/json_parser.hpp>
#include <boost/property_tree/ptree.hpp>

#include <array>
#include <cstring>
#include <sstream>

namespace nwLogging {

logsvc_command_client::logsvc_command_client(endpoint server) : server_(server) {}

void logsvc_command_client::drain() {
    // Anything already waiting is left over from an earlier exchange (a late
    // acknowledge) and must not be taken for this request's answer.
    std::array<uint8_t, drain_buffer_size> scratch;
    platform::UdpSocket& socket = socket_.socket();
    while (socket.WaitReadable(0).status == platform::WaitStatus::Ready) {
        const platform::ReceiveResult read = socket.ReceiveFrom(scratch.data(), scratch.size());
        if (read.status == platform::IoStatus::WouldBlock)
            break;
        // A datagram longer than the scratch buffer comes back cut; it is gone
        // all the same, which is all draining wants.
        if (read.status != platform::IoStatus::Ok)
            throw LogSvcError(
                "Failed to read out invalid previous data from the log client socket");
    }
}

command_reply logsvc_command_client::execute_command(uint16_t command, const std::string& payload) {
    if (payload.size() > max_payload_size)
        throw LogSvcError(
            "Log client command execution failure when communicating with the server.");
    std::array<uint8_t, max_datagram_size> request{};
    datagram_header header;
    header.magic = command_magic;
    header.command = command;
    header.request_id = datagram_header::next_request_id();
    header.payload_length = static_cast<uint16_t>(payload.size());
    header.encode(request.data());
    std::memcpy(request.data() + datagram_header_size, payload.data(), payload.size());
    const std::size_t requestSize = datagram_header_size + payload.size();

    drain();

    platform::UdpSocket& socket = socket_.socket();
    std::array<uint8_t, max_datagram_size> reply{};
    platform::ReceiveResult received;
    bool answered = false;
    for (int attempt = 0; attempt < attempts && !answered; ++attempt) {
        const platform::SendResult sent =
            socket.SendTo(request.data(), requestSize, server_.address, server_.port);
        if (sent.status != platform::IoStatus::Ok || sent.bytes != requestSize)
            continue;
        if (socket.WaitReadable(reply_wait_ms).status != platform::WaitStatus::Ready)
            continue;
        received = socket.ReceiveFrom(reply.data(), reply.size());
        if (received.status != platform::IoStatus::Ok)
            continue;
        // Only the command endpoint answers; anything else is not our reply.
        answered = received.address == server_.address && received.port == server_.port;
    }
    if (!answered)
        throw LogSvcError(
            "Log client command execution failure when communicating with the server.");

    // A reply longer than the largest datagram arrives cut, so its length
    // field can no longer be trusted to describe it.
    if (received.truncated)
        throw LogSvcError("Received malformed acknowledge packet");
    return read_acknowledge(reply.data(), received.bytes, header);
}

command_reply logsvc_command_client::read_acknowledge(const uint8_t* datagram, std::size_t size,
                                                      const datagram_header& request) {
    if (datagram == nullptr || size < datagram_header_size)
        throw LogSvcError("Received malformed acknowledge packet");
    const datagram_header ack = datagram_header::decode(datagram);
    if (ack.magic != command_magic || ack.payload_length > max_payload_size ||
        size != datagram_header_size + ack.payload_length)
        throw LogSvcError("Received malformed acknowledge packet");
    if (ack.command != (request.command | acknowledge_bit) || ack.request_id != request.request_id)
        throw LogSvcError("The received acknowledge does not match the actual request");
    if (ack.flags != 0)
        throw LogSvcError("The received acknowledge contains unsupported flags");
    if (ack.status != 0)
        throw LogSvcError("The command was not successful (negative acknowledge received)");

    command_reply result;
    result.header = ack;
    result.payload.assign(reinterpret_cast<const char*>(datagram + datagram_header_size),
                          ack.payload_length);
    return result;
}

boost::property_tree::ptree
logsvc_command_client::get_configuration(const std::string& module,
                                         const attribute_set& attributes) {
    const std::string payload = get_configuration_payload(module, attributes);
    if (payload.size() > max_payload_size)
        throw LogSvcError("The log configuration attribute list is too long");
    return read_configuration_set(execute_command(command_get_configuration, payload).payload);
}

boost::property_tree::ptree
logsvc_command_client::read_configuration_set(const std::string& payload) {
    boost::property_tree::ptree set;
    try {
        std::istringstream text(payload);
        boost::property_tree::read_json(text, set);
    } catch (...) {
        throw LogSvcError("Failed to deserialize the configuration set");
    }
    return set;
}

void logsvc_command_client::set_description(const std::string& module,
                                            const std::string& description) {
    if (module.empty())
        throw LogSvcError("Trying to set description for a module with empty name");
    if (description.empty())
        return;
    const std::string payload = set_description_payload(module, description);
    if (payload.size() > max_payload_size)
        throw LogSvcError("The module name/description combination is too long");
    execute_command(command_set_description, payload);
}

} // namespace nwLogging

#pragma once
// The client side of the log service's command exchange: a request datagram,
// one acknowledge back from the command endpoint.

#include <nwLogging/DatagramHeader.h>
#include <nwLogging/Endpoint.h>
#include <nwLogging/LogSvcSocket.h>

#include <boost/property_tree/ptree_fwd.hpp>

#include <cstdint>
#include <map>
#include <string>

namespace nwLogging {

/// Extra keys of a get-configuration request.
using attribute_set = std::map<std::string, std::string>;

/// An acknowledge that passed every check.
struct command_reply {
    datagram_header header;
    std::string payload;
};

/// Used by one thread; lives for the configuration step only.
class logsvc_command_client {
public:
    static constexpr int reply_wait_ms = 500;
    static constexpr int attempts = 2;
    static constexpr std::size_t drain_buffer_size = 1024;

    /// Opens the socket (see logsvc_socket) for the service at `server`.
    explicit logsvc_command_client(endpoint server);

    /// Sends `command` with `payload` (at most 1388 bytes) and answers the
    /// acknowledge. Stale datagrams are drained first; the request goes out at
    /// most twice, each time waiting up to 500 ms for a datagram from `server`.
    /// Every failure is a LogSvcError with its own text.
    command_reply execute_command(uint16_t command, const std::string& payload);

    /// The module's configuration set. The request carries `module`, the
    /// process name (when it can be found) and `attributes`.
    boost::property_tree::ptree get_configuration(const std::string& module,
                                                  const attribute_set& attributes);

    /// Checks `size` bytes received for `request` as its acknowledge: the length
    /// field must describe the datagram exactly, and command, request id, flags
    /// and status must answer the request; a LogSvcError with its own text
    /// otherwise.
    static command_reply read_acknowledge(const uint8_t* datagram, std::size_t size,
                                          const datagram_header& request);

    /// The configuration set an acknowledge carries as JSON; LogSvcError "Failed
    /// to deserialize the configuration set" when it is no JSON document.
    static boost::property_tree::ptree read_configuration_set(const std::string& payload);

    /// Tells the service what the module is; an empty description sends nothing.
    void set_description(const std::string& module, const std::string& description);

    /// Closes the socket and releases the socket library.
    void close() { socket_.close(); }

    const endpoint& server() const { return server_; }
    /// The client's socket, for diagnostics and tests (its port once it sent).
    logsvc_socket& socket() { return socket_; }

private:
    void drain();

    endpoint server_;
    logsvc_socket socket_;
};

} // namespace nwLogging

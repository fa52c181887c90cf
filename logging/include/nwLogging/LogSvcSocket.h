#pragma once
// The UDP socket of a log-service client, with the socket library start-up it
// needs.

#include <nwLogging/Endpoint.h>

#include <platform/SocketLibrary.h>
#include <platform/UdpSocket.h>

namespace nwLogging {

/// Not copyable or movable. Not thread-safe: each client uses its socket under its own lock
/// or on one thread.
class logsvc_socket {
public:
    static constexpr int buffer_size = 131072;

    /// Starts socket library version 2.2 and opens a non-blocking IPv4 UDP
    /// socket with 128 KiB send and receive buffers. LogSvcError "Winsock
    /// startup failed", "Requested Winsock version not supported by this
    /// system" or "Failed to create the log client socket".
    logsvc_socket();
    logsvc_socket(const logsvc_socket&) = delete;
    logsvc_socket& operator=(const logsvc_socket&) = delete;
    ~logsvc_socket();

    platform::UdpSocket& socket() { return socket_; }
    bool is_open() const { return static_cast<bool>(socket_); }
    /// Closes the socket, then releases the socket library.
    void close();

private:
    platform::SocketLibrary library_;
    platform::UdpSocket socket_; // closed before the library is released
};

} // namespace nwLogging

#pragma once
// The BSD socket calls as POSIX spells them, for the socket code that is the same
// on every system (common/UdpSocket.cpp).

#include <platform/UdpSocket.h>

#include <arpa/inet.h>
#include <cerrno>
#include <netinet/in.h>
#include <sys/socket.h>

namespace platform {
namespace sockets {

using AddressLength = socklen_t;

inline int Handle(UdpSocket::Native socket) {
    return socket;
}

inline std::error_code LastError() {
    return std::error_code(errno, std::system_category());
}

} // namespace sockets
} // namespace platform

#pragma once
// An IPv4 socket address from host-order parts, on every system.

#include "SocketApi.h"

namespace platform {
namespace sockets {

inline sockaddr_in MakeAddress(uint32_t address, uint16_t port) {
    sockaddr_in socketAddress{};
    socketAddress.sin_family = AF_INET;
    socketAddress.sin_addr.s_addr = htonl(address);
    socketAddress.sin_port = htons(port);
    return socketAddress;
}

} // namespace sockets
} // namespace platform

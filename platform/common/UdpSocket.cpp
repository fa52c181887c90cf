// What a UdpSocket does the same way on every system: options, binding and the
// local address. Opening, closing, blocking mode, sending, receiving and waiting
// differ, and each system's side has them.
#include "SocketAddress.h"
#include "SocketApi.h"

namespace platform {
namespace {

using sockets::Handle;
using sockets::LastError;

std::error_code SetIntOption(UdpSocket::Native socket, int option, int value) {
    // Winsock takes the value as char*; POSIX takes any pointer.
    if (::setsockopt(Handle(socket), SOL_SOCKET, option, reinterpret_cast<const char*>(&value),
                     sizeof value) != 0)
        return LastError();
    return {};
}

int GetIntOption(UdpSocket::Native socket, int option) {
    int value = 0;
    sockets::AddressLength length = sizeof value;
    if (::getsockopt(Handle(socket), SOL_SOCKET, option, reinterpret_cast<char*>(&value),
                     &length) != 0)
        return -1;
    return value;
}

} // namespace

std::error_code UdpSocket::SetReceiveBufferSize(int bytes) {
    return SetIntOption(socket_, SO_RCVBUF, bytes);
}

std::error_code UdpSocket::SetSendBufferSize(int bytes) {
    return SetIntOption(socket_, SO_SNDBUF, bytes);
}

int UdpSocket::ReceiveBufferSize() const {
    return GetIntOption(socket_, SO_RCVBUF);
}

int UdpSocket::SendBufferSize() const {
    return GetIntOption(socket_, SO_SNDBUF);
}

std::error_code UdpSocket::Bind(uint32_t address, uint16_t port) {
    const sockaddr_in socketAddress = sockets::MakeAddress(address, port);
    if (::bind(Handle(socket_), reinterpret_cast<const sockaddr*>(&socketAddress),
               sizeof socketAddress) != 0)
        return LastError();
    return {};
}

std::error_code UdpSocket::LocalAddress(uint32_t* address, uint16_t* port) const {
    sockaddr_in socketAddress{};
    sockets::AddressLength length = sizeof socketAddress;
    if (::getsockname(Handle(socket_), reinterpret_cast<sockaddr*>(&socketAddress), &length) != 0)
        return LastError();
    if (address != nullptr)
        *address = ntohl(socketAddress.sin_addr.s_addr);
    if (port != nullptr)
        *port = ntohs(socketAddress.sin_port);
    return {};
}

} // namespace platform

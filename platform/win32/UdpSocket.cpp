// Opening, closing, blocking mode, sending, receiving and waiting with Winsock 2;
// common/UdpSocket.cpp has the rest.
#include "SocketApi.h"

#include "SocketAddress.h"

#include <mswsock.h>

namespace platform {
namespace {

using sockets::Handle;
using sockets::LastError;

int ClampedLength(size_t size) {
    return size > 0x7FFFFFFF ? 0x7FFFFFFF : static_cast<int>(size);
}

} // namespace

UdpSocket UdpSocket::Open(std::error_code* error) {
    // Not inherited by child processes, as SOCK_CLOEXEC does on POSIX.
    SOCKET socket =
        ::WSASocketA(AF_INET, SOCK_DGRAM, IPPROTO_UDP, nullptr, 0, WSA_FLAG_NO_HANDLE_INHERIT);
    if (socket == INVALID_SOCKET) {
        if (error != nullptr)
            *error = LastError();
        return UdpSocket();
    }
    // A datagram to a closed port would otherwise make the next receive fail with
    // WSAECONNRESET; UDP has no connection to reset.
    BOOL report = FALSE;
    DWORD returned = 0;
    ::WSAIoctl(socket, SIO_UDP_CONNRESET, &report, sizeof report, nullptr, 0, &returned, nullptr,
               nullptr);
    if (error != nullptr)
        error->clear();
    return UdpSocket(static_cast<Native>(socket));
}

void UdpSocket::reset(Native socket) {
    if (socket_ != kInvalid && socket_ != socket)
        ::closesocket(Handle(socket_));
    socket_ = socket;
}

std::error_code UdpSocket::SetNonBlocking(bool nonBlocking) {
    u_long mode = nonBlocking ? 1 : 0;
    if (::ioctlsocket(Handle(socket_), FIONBIO, &mode) != 0)
        return LastError();
    return {};
}

SendResult UdpSocket::SendTo(const void* data, size_t size, uint32_t address, uint16_t port) {
    SendResult result;
    const sockaddr_in target = sockets::MakeAddress(address, port);
    const int n = ::sendto(Handle(socket_), static_cast<const char*>(data), ClampedLength(size), 0,
                           reinterpret_cast<const sockaddr*>(&target), sizeof target);
    if (n != SOCKET_ERROR) {
        result.status = IoStatus::Ok;
        result.bytes = static_cast<size_t>(n);
        return result;
    }
    const int error = ::WSAGetLastError();
    result.error = win32::MakeError(static_cast<uint32_t>(error));
    result.status = error == WSAEWOULDBLOCK ? IoStatus::WouldBlock : IoStatus::Error;
    return result;
}

ReceiveResult UdpSocket::ReceiveFrom(void* buffer, size_t size) {
    ReceiveResult result;
    sockaddr_in sender{};
    int senderLength = sizeof sender;
    const int length = ClampedLength(size);
    const int n = ::recvfrom(Handle(socket_), static_cast<char*>(buffer), length, 0,
                             reinterpret_cast<sockaddr*>(&sender), &senderLength);
    const int error = n == SOCKET_ERROR ? ::WSAGetLastError() : 0;
    // Windows fills the buffer and reports a cut datagram as WSAEMSGSIZE.
    if (n != SOCKET_ERROR || error == WSAEMSGSIZE) {
        result.status = IoStatus::Ok;
        result.bytes = n != SOCKET_ERROR ? static_cast<size_t>(n) : static_cast<size_t>(length);
        result.truncated = error == WSAEMSGSIZE;
        result.address = ntohl(sender.sin_addr.s_addr);
        result.port = ntohs(sender.sin_port);
        return result;
    }
    result.error = win32::MakeError(static_cast<uint32_t>(error));
    result.status = error == WSAEWOULDBLOCK ? IoStatus::WouldBlock : IoStatus::Error;
    return result;
}

WaitResult UdpSocket::WaitReadable(int timeoutMilliseconds) const {
    WaitResult result;
    if (socket_ == kInvalid) {
        result.error = win32::MakeError(WSAENOTSOCK);
        return result;
    }
    WSAPOLLFD entry{};
    entry.fd = Handle(socket_);
    entry.events = POLLRDNORM;
    const int n = ::WSAPoll(&entry, 1, timeoutMilliseconds < 0 ? -1 : timeoutMilliseconds);
    if (n > 0) {
        if (entry.revents & POLLNVAL) {
            result.error = win32::MakeError(WSAENOTSOCK);
            return result;
        }
        // A pending socket error counts as ready: the read that follows reports it.
        result.status = WaitStatus::Ready;
        return result;
    }
    if (n == 0) {
        result.status = WaitStatus::TimedOut;
        return result;
    }
    result.error = LastError();
    return result;
}

} // namespace platform

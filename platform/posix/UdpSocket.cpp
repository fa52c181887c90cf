// Opening, closing, blocking mode, sending, receiving and waiting on POSIX;
// common/UdpSocket.cpp has the rest.
#include "SocketAddress.h"
#include "SocketApi.h"

#include <chrono>
#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

namespace platform {
namespace {

using sockets::LastError;

bool WouldBlock(int error) {
    return error == EAGAIN || error == EWOULDBLOCK;
}

} // namespace

UdpSocket UdpSocket::Open(std::error_code* error) {
    int socket = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, IPPROTO_UDP);
    if (socket < 0) {
        if (error != nullptr)
            *error = LastError();
        return UdpSocket();
    }
    if (error != nullptr)
        error->clear();
    return UdpSocket(socket);
}

void UdpSocket::reset(Native socket) {
    if (socket_ != kInvalid && socket_ != socket)
        ::close(socket_);
    socket_ = socket;
}

std::error_code UdpSocket::SetNonBlocking(bool nonBlocking) {
    int flags = ::fcntl(socket_, F_GETFL);
    if (flags < 0)
        return LastError();
    flags = nonBlocking ? (flags | O_NONBLOCK) : (flags & ~O_NONBLOCK);
    if (::fcntl(socket_, F_SETFL, flags) != 0)
        return LastError();
    return {};
}

SendResult UdpSocket::SendTo(const void* data, size_t size, uint32_t address, uint16_t port) {
    SendResult result;
    const sockaddr_in target = sockets::MakeAddress(address, port);
    for (;;) {
        ssize_t n = ::sendto(socket_, data, size, MSG_NOSIGNAL,
                             reinterpret_cast<const sockaddr*>(&target), sizeof target);
        if (n >= 0) {
            result.status = IoStatus::Ok;
            result.bytes = static_cast<size_t>(n);
            return result;
        }
        if (errno == EINTR)
            continue;
        result.error = LastError();
        result.status = WouldBlock(errno) ? IoStatus::WouldBlock : IoStatus::Error;
        return result;
    }
}

ReceiveResult UdpSocket::ReceiveFrom(void* buffer, size_t size) {
    ReceiveResult result;
    sockaddr_in sender{};
    iovec part{buffer, size};
    msghdr message{};
    message.msg_name = &sender;
    message.msg_namelen = sizeof sender;
    message.msg_iov = &part;
    message.msg_iovlen = 1;
    for (;;) {
        ssize_t n = ::recvmsg(socket_, &message, 0);
        if (n >= 0) {
            result.status = IoStatus::Ok;
            result.bytes = static_cast<size_t>(n);
            // Windows reports a cut datagram as an error; here it is a flag to check.
            result.truncated = (message.msg_flags & MSG_TRUNC) != 0;
            result.address = ntohl(sender.sin_addr.s_addr);
            result.port = ntohs(sender.sin_port);
            return result;
        }
        if (errno == EINTR)
            continue;
        result.error = LastError();
        result.status = WouldBlock(errno) ? IoStatus::WouldBlock : IoStatus::Error;
        return result;
    }
}

WaitResult UdpSocket::WaitReadable(int timeoutMilliseconds) const {
    using Clock = std::chrono::steady_clock;
    const Clock::time_point deadline =
        Clock::now() + std::chrono::milliseconds(timeoutMilliseconds);
    WaitResult result;
    // poll() skips negative descriptors: without this a closed socket would wait out
    // the whole time-out, or forever, instead of failing.
    if (socket_ < 0) {
        result.error = std::error_code(EBADF, std::system_category());
        return result;
    }
    pollfd entry{socket_, POLLIN, 0};
    int timeout = timeoutMilliseconds < 0 ? -1 : timeoutMilliseconds;
    for (;;) {
        int n = ::poll(&entry, 1, timeout);
        if (n > 0) {
            if (entry.revents & POLLNVAL) {
                result.error = std::error_code(EBADF, std::system_category());
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
        if (errno != EINTR) {
            result.error = LastError();
            return result;
        }
        if (timeoutMilliseconds >= 0) {
            auto left =
                std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
            timeout = left.count() > 0 ? static_cast<int>(left.count()) : 0;
        }
    }
}

} // namespace platform

#pragma once
// An IPv4 UDP socket. Addresses and ports are in host order. Failures come back as
// results carrying the system's error code; nothing here throws.

#include <cstddef>
#include <cstdint>
#include <system_error>

namespace platform {

enum class IoStatus {
    Ok,
    WouldBlock, // non-blocking socket with nothing to read, or no room to send
    Error
};

struct SendResult {
    IoStatus status = IoStatus::Error;
    size_t bytes = 0;
    std::error_code error;
};

struct ReceiveResult {
    IoStatus status = IoStatus::Error;
    size_t bytes = 0;       // bytes stored in the buffer
    bool truncated = false; // the datagram was longer than the buffer; the rest is lost
    uint32_t address = 0;   // sender
    uint16_t port = 0;
    std::error_code error;
};

enum class WaitStatus { Ready, TimedOut, Error };

struct WaitResult {
    WaitStatus status = WaitStatus::Error;
    std::error_code error;
};

/// Owns one socket, closed on destruction. Move-only. Not for use by several
/// threads at once, except that sending and receiving may overlap.
class UdpSocket {
public:
#if defined(_WIN32)
    // A SOCKET is pointer-sized; INVALID_SOCKET is all ones.
    using Native = uintptr_t;
    static constexpr Native kInvalid = ~static_cast<Native>(0);
#else
    using Native = int;
    static constexpr Native kInvalid = -1;
#endif

    UdpSocket() = default;
    explicit UdpSocket(Native socket) : socket_(socket) {}
    /// A new socket; an invalid one (and `error`) on failure.
    static UdpSocket Open(std::error_code* error = nullptr);

    UdpSocket(const UdpSocket&) = delete;
    UdpSocket& operator=(const UdpSocket&) = delete;
    UdpSocket(UdpSocket&& other) noexcept : socket_(other.release()) {}
    UdpSocket& operator=(UdpSocket&& other) noexcept {
        reset(other.release());
        return *this;
    }
    ~UdpSocket() {
        reset();
    }

    Native get() const {
        return socket_;
    }
    explicit operator bool() const {
        return socket_ != kInvalid;
    }
    Native release() {
        Native socket = socket_;
        socket_ = kInvalid;
        return socket;
    }
    void reset(Native socket = kInvalid);

    std::error_code SetReceiveBufferSize(int bytes);
    std::error_code SetSendBufferSize(int bytes);
    /// The sizes the system actually granted (they may differ from those asked for).
    int ReceiveBufferSize() const;
    int SendBufferSize() const;
    std::error_code SetNonBlocking(bool nonBlocking);

    /// Port 0 lets the system choose; LocalAddress() tells which.
    std::error_code Bind(uint32_t address, uint16_t port);
    std::error_code LocalAddress(uint32_t* address, uint16_t* port) const;

    SendResult SendTo(const void* data, size_t size, uint32_t address, uint16_t port);
    /// Reads one datagram.
    ReceiveResult ReceiveFrom(void* buffer, size_t size);
    /// Waits until a datagram can be read; a negative time-out waits without limit.
    WaitResult WaitReadable(int timeoutMilliseconds) const;

private:
    Native socket_ = kInvalid;
};

} // namespace platform

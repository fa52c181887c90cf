#include <platform/Ipv4Address.h>
#include <platform/SocketLibrary.h>
#include <platform/UdpSocket.h>

#include <gtest/gtest.h>

#include <cerrno>
#ifndef _WIN32
#include <fcntl.h>
#endif
#include <fstream>
#include <string>

using namespace platform;

namespace {

// The system's numbers for the errors the tests provoke: Winsock's or errno's.
#ifdef _WIN32
constexpr int kAddressInUse = 10048; // WSAEADDRINUSE
constexpr int kNotASocket = 10038;   // WSAENOTSOCK
#else
constexpr int kAddressInUse = EADDRINUSE;
constexpr int kNotASocket = EBADF;
#endif

// The sockets' user starts the socket library (Winsock; nothing on POSIX).
class UdpSocketTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(library_); }

    SocketLibrary library_ = SocketLibrary::Start(kSocketVersion22, nullptr, nullptr);
};

constexpr int kWaitMs = 10000; // generous: only a broken socket waits this long

UdpSocket BoundSocket(uint16_t* port) {
    std::error_code error;
    UdpSocket socket = UdpSocket::Open(&error);
    EXPECT_TRUE(socket) << error.message();
    EXPECT_FALSE(socket.Bind(kIpv4Loopback, 0));
    uint32_t address = 0;
    EXPECT_FALSE(socket.LocalAddress(&address, port));
    EXPECT_EQ(address, kIpv4Loopback);
    EXPECT_NE(*port, 0); // port 0 asked the system to choose one
    return socket;
}

int KernelLimit(const char* file) {
    std::ifstream in(file);
    int value = 0;
    in >> value;
    return value;
}

} // namespace

TEST_F(UdpSocketTest, SendAndReceive_ReportsDataAndSender) {
    uint16_t receiverPort = 0, senderPort = 0;
    UdpSocket receiver = BoundSocket(&receiverPort);
    UdpSocket sender = BoundSocket(&senderPort);
    const std::string message = "get configuration";
    SendResult sent = sender.SendTo(message.data(), message.size(), kIpv4Loopback, receiverPort);
    ASSERT_EQ(sent.status, IoStatus::Ok) << sent.error.message();
    EXPECT_EQ(sent.bytes, message.size());

    ASSERT_EQ(receiver.WaitReadable(kWaitMs).status, WaitStatus::Ready);
    char buffer[1400];
    ReceiveResult received = receiver.ReceiveFrom(buffer, sizeof buffer);
    ASSERT_EQ(received.status, IoStatus::Ok) << received.error.message();
    EXPECT_EQ(std::string(buffer, received.bytes), message);
    EXPECT_FALSE(received.truncated);
    EXPECT_EQ(received.address, kIpv4Loopback);
    EXPECT_EQ(received.port, senderPort);
}

TEST_F(UdpSocketTest, ReceiveFrom_DatagramLongerThanBuffer_IsMarkedTruncated) {
    uint16_t port = 0, unused = 0;
    UdpSocket receiver = BoundSocket(&port);
    UdpSocket sender = BoundSocket(&unused);
    const std::string big(2000, 'b');
    ASSERT_EQ(sender.SendTo(big.data(), big.size(), kIpv4Loopback, port).status, IoStatus::Ok);
    ASSERT_EQ(sender.SendTo("next", 4, kIpv4Loopback, port).status, IoStatus::Ok);
    ASSERT_EQ(receiver.WaitReadable(kWaitMs).status, WaitStatus::Ready);
    char buffer[1024];
    ReceiveResult first = receiver.ReceiveFrom(buffer, sizeof buffer);
    EXPECT_EQ(first.status, IoStatus::Ok);
    EXPECT_EQ(first.bytes, sizeof buffer);
    EXPECT_TRUE(first.truncated);
    // The rest of the long datagram is gone; the next read is the next datagram.
    ASSERT_EQ(receiver.WaitReadable(kWaitMs).status, WaitStatus::Ready);
    ReceiveResult second = receiver.ReceiveFrom(buffer, sizeof buffer);
    EXPECT_EQ(std::string(buffer, second.bytes), "next");
    EXPECT_FALSE(second.truncated);
}

TEST_F(UdpSocketTest, NonBlocking_EmptySocket_WouldBlockNotError) {
    uint16_t port = 0;
    UdpSocket socket = BoundSocket(&port);
    ASSERT_FALSE(socket.SetNonBlocking(true));
    char buffer[16];
    ReceiveResult result = socket.ReceiveFrom(buffer, sizeof buffer);
    EXPECT_EQ(result.status, IoStatus::WouldBlock);
#ifndef _WIN32 // Winsock cannot read a socket's blocking mode back
    EXPECT_TRUE((::fcntl(socket.get(), F_GETFL) & O_NONBLOCK) != 0);
#endif
    ASSERT_FALSE(socket.SetNonBlocking(false));
#ifndef _WIN32
    EXPECT_TRUE((::fcntl(socket.get(), F_GETFL) & O_NONBLOCK) == 0);
#endif
}

TEST_F(UdpSocketTest, WaitReadable_NothingSent_TimesOut) {
    uint16_t port = 0;
    UdpSocket socket = BoundSocket(&port);
    EXPECT_EQ(socket.WaitReadable(0).status, WaitStatus::TimedOut);
    EXPECT_EQ(socket.WaitReadable(20).status, WaitStatus::TimedOut);
}

TEST_F(UdpSocketTest, WaitReadable_StaleDatagram_IsReadyAtOnce) {
    // The log client drains stale replies with zero-time-out waits before a command.
    uint16_t port = 0, unused = 0;
    UdpSocket receiver = BoundSocket(&port);
    UdpSocket sender = BoundSocket(&unused);
    ASSERT_EQ(sender.SendTo("stale", 5, kIpv4Loopback, port).status, IoStatus::Ok);
    ASSERT_EQ(receiver.WaitReadable(kWaitMs).status, WaitStatus::Ready);
    EXPECT_EQ(receiver.WaitReadable(0).status, WaitStatus::Ready);
    char buffer[1024];
    EXPECT_EQ(receiver.ReceiveFrom(buffer, sizeof buffer).bytes, 5u);
    EXPECT_EQ(receiver.WaitReadable(0).status, WaitStatus::TimedOut);
}

TEST_F(UdpSocketTest, BufferSizes_AreGrantedAtLeastAsAsked) {
    UdpSocket socket = UdpSocket::Open();
    ASSERT_TRUE(socket);
    ASSERT_FALSE(socket.SetReceiveBufferSize(131072));
    ASSERT_FALSE(socket.SetSendBufferSize(131072));
    // The kernel caps requests at its limits; within them it grants at least the request.
    EXPECT_GE(socket.ReceiveBufferSize(),
              std::min(131072, KernelLimit("/proc/sys/net/core/rmem_max")));
    EXPECT_GE(socket.SendBufferSize(),
              std::min(131072, KernelLimit("/proc/sys/net/core/wmem_max")));
}

TEST_F(UdpSocketTest, Bind_PortInUse_Fails) {
    uint16_t port = 0;
    UdpSocket first = BoundSocket(&port);
    UdpSocket second = UdpSocket::Open();
    ASSERT_TRUE(second);
    EXPECT_EQ(second.Bind(kIpv4Loopback, port).value(), kAddressInUse);
}

TEST_F(UdpSocketTest, ClosedSocket_OperationsReportErrors) {
    UdpSocket socket;
    EXPECT_FALSE(socket);
    char buffer[4];
    ReceiveResult received = socket.ReceiveFrom(buffer, sizeof buffer);
    EXPECT_EQ(received.status, IoStatus::Error);
    EXPECT_EQ(received.error.value(), kNotASocket);
    EXPECT_EQ(socket.SendTo("x", 1, kIpv4Loopback, 9).status, IoStatus::Error);
    EXPECT_EQ(socket.WaitReadable(0).status, WaitStatus::Error);
    EXPECT_TRUE(socket.SetNonBlocking(true));
    EXPECT_TRUE(socket.Bind(kIpv4Loopback, 0));
}

/// Whether `handle` names an open socket: only an open one takes a mode change.
/// The probe gives the handle back, so it closes nothing.
bool IsOpenSocket(UdpSocket::Native handle) {
    UdpSocket probe(handle);
    const bool open = !probe.SetNonBlocking(false);
    probe.release();
    return open;
}

TEST_F(UdpSocketTest, Ownership_MoveResetAndRelease) {
    UdpSocket first = UdpSocket::Open();
    ASSERT_TRUE(first);
    const UdpSocket::Native fd = first.get();
    UdpSocket second = std::move(first);
    EXPECT_FALSE(first);
    EXPECT_EQ(second.get(), fd);
    EXPECT_TRUE(IsOpenSocket(fd));
    second.reset();
    EXPECT_FALSE(IsOpenSocket(fd)); // closed

    UdpSocket third = UdpSocket::Open();
    const UdpSocket::Native kept = third.release();
    EXPECT_FALSE(third);
    EXPECT_TRUE(IsOpenSocket(kept)); // still open: the caller owns it now
    UdpSocket adopt(kept);
}

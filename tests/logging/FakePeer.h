#pragma once
// A scripted stand-in for the log service's command endpoint: a UDP socket on
// 127.0.0.1 that a test thread reads requests from and answers as it likes.

#include <nwLogging/DatagramHeader.h>
#include <nwLogging/Endpoint.h>

#include <platform/SocketLibrary.h>
#include <platform/UdpSocket.h>

#include <cstdint>
#include <optional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace peertest {

struct Datagram {
    std::vector<uint8_t> bytes;
    nwLogging::endpoint from;

    nwLogging::datagram_header Header() const;
    std::string Payload() const;
};

class FakePeer {
public:
    FakePeer();
    nwLogging::endpoint Endpoint() const { return endpoint_; }

    /// The next datagram; nothing when none arrives within `timeoutMs`.
    std::optional<Datagram> Receive(int timeoutMs = 10000);
    void Send(const std::vector<uint8_t>& bytes, const nwLogging::endpoint& to);

private:
    // Started before the socket and ended after it, as any user of sockets
    // must (Winsock; nothing on POSIX).
    platform::SocketLibrary library_;
    platform::UdpSocket socket_;
    nwLogging::endpoint endpoint_;
};

/// A thread joined on destruction, so a test that fails while the peer's script
/// still runs ends as a failure, not as a terminated program.
class ScriptThread {
public:
    template <class F> explicit ScriptThread(F&& script) : thread_(std::forward<F>(script)) {}
    ~ScriptThread() { join(); }
    ScriptThread(const ScriptThread&) = delete;
    ScriptThread& operator=(const ScriptThread&) = delete;
    void join() {
        if (thread_.joinable())
            thread_.join();
    }

private:
    std::thread thread_;
};

/// The acknowledge a service would send for `request`.
std::vector<uint8_t> Acknowledge(const Datagram& request, uint16_t status,
                                 const std::string& payload);
/// A datagram of header `header` followed by `payload`, length field as given.
std::vector<uint8_t> Raw(const nwLogging::datagram_header& header, const std::string& payload);

} // namespace peertest

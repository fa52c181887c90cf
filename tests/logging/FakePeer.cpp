#include "FakePeer.h"

#include <platform/Ipv4Address.h>

#include <stdexcept>

namespace peertest {

nwLogging::datagram_header Datagram::Header() const {
    if (bytes.size() < nwLogging::datagram_header_size)
        throw std::runtime_error("datagram shorter than a header");
    return nwLogging::datagram_header::decode(bytes.data());
}

std::string Datagram::Payload() const {
    if (bytes.size() < nwLogging::datagram_header_size)
        return std::string();
    return std::string(bytes.begin() + nwLogging::datagram_header_size, bytes.end());
}

FakePeer::FakePeer()
    : library_(platform::SocketLibrary::Start(platform::kSocketVersion22, nullptr, nullptr)),
      socket_(platform::UdpSocket::Open()) {
    if (!library_ || !socket_ || socket_.Bind(platform::kIpv4Loopback, 0) ||
        socket_.LocalAddress(&endpoint_.address, &endpoint_.port))
        throw std::runtime_error("cannot open the fake peer's socket");
}

std::optional<Datagram> FakePeer::Receive(int timeoutMs) {
    if (socket_.WaitReadable(timeoutMs).status != platform::WaitStatus::Ready)
        return std::nullopt;
    Datagram datagram;
    datagram.bytes.resize(4096);
    const platform::ReceiveResult read = socket_.ReceiveFrom(datagram.bytes.data(), 4096);
    if (read.status != platform::IoStatus::Ok)
        return std::nullopt;
    datagram.bytes.resize(read.bytes);
    datagram.from = {read.address, read.port};
    return datagram;
}

void FakePeer::Send(const std::vector<uint8_t>& bytes, const nwLogging::endpoint& to) {
    const platform::SendResult sent =
        socket_.SendTo(bytes.data(), bytes.size(), to.address, to.port);
    if (sent.status != platform::IoStatus::Ok)
        throw std::runtime_error("the fake peer cannot send: " + sent.error.message());
}

std::vector<uint8_t> Raw(const nwLogging::datagram_header& header, const std::string& payload) {
    std::vector<uint8_t> bytes(nwLogging::datagram_header_size + payload.size());
    header.encode(bytes.data());
    std::copy(payload.begin(), payload.end(), bytes.begin() + nwLogging::datagram_header_size);
    return bytes;
}

std::vector<uint8_t> Acknowledge(const Datagram& request, uint16_t status,
                                 const std::string& payload) {
    nwLogging::datagram_header header;
    header.magic = nwLogging::command_magic;
    header.command = static_cast<uint16_t>(request.Header().command | nwLogging::acknowledge_bit);
    header.status = status;
    header.request_id = request.Header().request_id;
    header.payload_length = static_cast<uint16_t>(payload.size());
    return Raw(header, payload);
}

} // namespace peertest

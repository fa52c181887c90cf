#pragma once
// Sends log records to the log service (or another receiver) as datagrams.

#include <nwLogging/DatagramHeader.h>
#include <nwLogging/Endpoint.h>
#include <nwLogging/LogSvcSocket.h>
#include <nwLogging/MessageContainer.h>
#include <nwLogging/Record.h>

#include <array>
#include <cstdint>
#include <string>

namespace nwLogging {

/// Not thread-safe: the log-service target calls it under its own lock, which
/// also guards the two sequence counters.
class logsvc_record_client {
public:
    /// Opens the socket (see logsvc_socket). Records go to `receiver`; with
    /// `thread_id` false they carry no thread-id item.
    logsvc_record_client(endpoint receiver, bool thread_id);

    /// Builds the record's datagram and sends it, a second time when the first
    /// send fails; LogSvcError "Log client command execution failure when
    /// communicating with the server." when both fail.
    void send(const basic_timed_msgstate& record, const std::string& text);

    const endpoint& receiver() const { return receiver_; }
    bool thread_id() const { return threadId_; }
    /// The sequence numbers of the last records sent, without and with attributes.
    uint64_t plain_sequence() const { return plainSequence_; }
    uint64_t attribute_sequence() const { return attributeSequence_; }

private:
    endpoint receiver_;
    bool threadId_;
    uint64_t processId_;
    uint64_t codePage_; // asked once: finding it reads the locale
    item_pattern plainPattern_;
    item_pattern attributePattern_;
    uint64_t plainSequence_ = 0;
    uint64_t attributeSequence_ = 0;
    logsvc_socket socket_;
    std::array<uint8_t, max_datagram_size> datagram_{}; // reused for every record
};

} // namespace nwLogging

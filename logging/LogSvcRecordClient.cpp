#include <nwLogging/LogSvcError.h>
#include <nwLogging/LogSvcRecordClient.h>
#include <nwLogging/MessageContainer.h>

#include <platform/Process.h>

namespace nwLogging {

logsvc_record_client::logsvc_record_client(endpoint receiver, bool thread_id)
    : receiver_(receiver), threadId_(thread_id), processId_(platform::CurrentProcessId()),
      codePage_(platform::AnsiCodePage()), plainPattern_(item_pattern::plain(thread_id)),
      attributePattern_(item_pattern::with_attributes(thread_id)) {}

void logsvc_record_client::send(const basic_timed_msgstate& record, const std::string& text) {
    const bool attributes = !record.attributes.empty();
    const item_pattern& pattern = attributes ? attributePattern_ : plainPattern_;
    const uint64_t sequence = attributes ? ++attributeSequence_ : ++plainSequence_;

    container_source source;
    source.record = &record;
    source.text_begin = text.data();
    source.text_end = text.data() + text.size();
    source.process_id = processId_;
    source.code_page = codePage_;
    const std::size_t length = build_message_container(datagram_.data() + datagram_header_size,
                                                       max_payload_size, sequence, pattern, source);

    datagram_header header;
    header.magic = record_magic;
    header.flags = record_flag_no_ack;
    header.command = attributes ? command_record_attributes : command_record;
    header.request_id = datagram_header::next_request_id();
    header.payload_length = static_cast<uint16_t>(length);
    header.encode(datagram_.data());

    const std::size_t size = datagram_header_size + length;
    platform::UdpSocket& socket = socket_.socket();
    for (int attempt = 0; attempt < 2; ++attempt) {
        const platform::SendResult sent =
            socket.SendTo(datagram_.data(), size, receiver_.address, receiver_.port);
        if (sent.status == platform::IoStatus::Ok && sent.bytes == size)
            return;
    }
    throw LogSvcError("Log client command execution failure when communicating with the server.");
}

} // namespace nwLogging

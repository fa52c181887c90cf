#include "RecordPrinter.h"

#include <nwLogging/DatagramHeader.h>
#include <nwLogging/Levels.h>
#include <nwLogging/LogSvcError.h>
#include <nwLogging/MessageContainer.h>
#include <nwLogging/Record.h>

#include <cstdio>
#include <stdexcept>

namespace logsvc {

using nwLogging::decoded_container;

namespace {

void AppendEscaped(std::string& out, const std::string& text) {
    for (char c : text) {
        const auto u = static_cast<unsigned char>(c);
        if (c == '\n') {
            out += "\\n";
        } else if (c == '\r') {
            out += "\\r";
        } else if ((u < 0x20 && c != '\t') || u == 0x7F) {
            char hex[8];
            std::snprintf(hex, sizeof hex, "\\x%02X", u);
            out += hex;
        } else {
            out += c;
        }
    }
}

} // namespace

decoded_container RecordPrinter::Decode(const uint8_t* data, std::size_t size, bool truncated) {
    if (truncated || size < nwLogging::datagram_header_size)
        throw std::runtime_error("not a record datagram (length)");
    const nwLogging::datagram_header header = nwLogging::datagram_header::decode(data);
    if (header.magic != nwLogging::record_magic)
        throw std::runtime_error("not a record datagram (magic)");
    if ((header.flags & nwLogging::record_flag_no_ack) == 0)
        throw std::runtime_error("record datagram without its flag");
    if (header.command != nwLogging::command_record &&
        header.command != nwLogging::command_record_attributes)
        throw std::runtime_error("unknown record command " + std::to_string(header.command));
    if (header.payload_length > nwLogging::max_payload_size ||
        size != nwLogging::datagram_header_size + header.payload_length)
        throw std::runtime_error("record datagram length does not match its header");
    try {
        return decoded_container::decode(data + nwLogging::datagram_header_size,
                                         header.payload_length);
    } catch (const nwLogging::LogSvcError& e) {
        throw std::runtime_error(e.what());
    }
}

std::string RecordPrinter::Format(const decoded_container& record) {
    std::string line;
    if (record.timestamp)
        nwLogging::append_timestamp(line, *record.timestamp);
    else
        line += "-";
    if (record.logger && !record.logger->empty()) {
        line += ' ';
        line += *record.logger;
    }
    line += " [";
    if (record.group && !record.group->empty()) {
        line += *record.group;
        line += '|';
    }
    line += record.level ? nwLogging::level_name(static_cast<uint32_t>(*record.level)) : "-";
    line += "] pid=";
    line += record.process_id ? std::to_string(*record.process_id) : "-";
    line += " tid=";
    line += record.thread_id ? std::to_string(*record.thread_id) : "-";
    if (record.location && !record.location->empty()) {
        line += " loc=";
        AppendEscaped(line, *record.location);
    }
    line += " seq=" + std::to_string(record.sequence);
    if (record.flags & nwLogging::container_items_dropped)
        line += " dropped";
    if (record.flags & nwLogging::container_text_truncated)
        line += " truncated";
    if (record.attribute_count)
        line += " attributes=" + std::to_string(*record.attribute_count);
    line += " |";
    if (record.text) {
        line += ' ';
        AppendEscaped(line, *record.text);
    }
    return line;
}

} // namespace logsvc

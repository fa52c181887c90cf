#include <nwLogging/DatagramHeader.h>
#include <nwLogging/LittleEndian.h>

#include "LocalClock.h"

#include <boost/date_time/gregorian/gregorian_types.hpp>
#include <boost/date_time/posix_time/posix_time_types.hpp>

namespace nwLogging {

void datagram_header::encode(uint8_t* out) const {
    put_le<uint16_t>(out + 0, magic);
    put_le<uint16_t>(out + 2, flags);
    put_le<uint16_t>(out + 4, command);
    put_le<uint16_t>(out + 6, status);
    put_le<uint16_t>(out + 8, request_id);
    put_le<uint16_t>(out + 10, payload_length);
}

datagram_header datagram_header::decode(const uint8_t* in) {
    datagram_header header;
    header.magic = get_le<uint16_t>(in + 0);
    header.flags = get_le<uint16_t>(in + 2);
    header.command = get_le<uint16_t>(in + 4);
    header.status = get_le<uint16_t>(in + 6);
    header.request_id = get_le<uint16_t>(in + 8);
    header.payload_length = get_le<uint16_t>(in + 10);
    return header;
}

uint16_t datagram_header::next_request_id() {
    static const boost::posix_time::ptime epoch(boost::gregorian::date(1970, 1, 1));
    const auto micros = (local_clock::now() - epoch).total_microseconds();
    return static_cast<uint16_t>(static_cast<uint64_t>(micros) & 0xFFFF);
}

} // namespace nwLogging

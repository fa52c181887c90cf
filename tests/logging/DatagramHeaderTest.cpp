// The 12-byte datagram header and the request ids.
#include <nwLogging/DatagramHeader.h>

#include <boost/date_time/gregorian/gregorian_types.hpp>
#include <boost/date_time/posix_time/posix_time_types.hpp>

#include "support/ScopedTimeZone.h"
#include <gtest/gtest.h>

#include <array>
#include <cstdlib>
#include <ctime>
#include <thread>

namespace nw = nwLogging;

namespace {

uint64_t LocalMicrosSince1970() {
    const boost::posix_time::ptime epoch(boost::gregorian::date(1970, 1, 1));
    return static_cast<uint64_t>(
        (boost::posix_time::microsec_clock::local_time() - epoch).total_microseconds());
}

// True when `id` lies between the low 16 bits of `before` and `after`.
bool Between(uint16_t id, uint64_t before, uint64_t after) {
    const uint64_t span = after - before;
    const uint16_t offset = static_cast<uint16_t>(id - static_cast<uint16_t>(before));
    return span >= 0xFFFF || offset <= span;
}

} // namespace

TEST(DatagramHeader, SixLittleEndianWords) {
    nw::datagram_header header;
    header.magic = 0xACCA;
    header.flags = 0x0001;
    header.command = 0x8041;
    header.status = 0x0203;
    header.request_id = 0xBEEF;
    header.payload_length = 1388;
    std::array<uint8_t, 12> bytes{};
    header.encode(bytes.data());
    const std::array<uint8_t, 12> expected{0xCA, 0xAC, 0x01, 0x00, 0x41, 0x80,
                                           0x03, 0x02, 0xEF, 0xBE, 0x6C, 0x05};
    EXPECT_EQ(bytes, expected);
    const nw::datagram_header back = nw::datagram_header::decode(bytes.data());
    EXPECT_EQ(back.magic, 0xACCA);
    EXPECT_EQ(back.flags, 1);
    EXPECT_EQ(back.command, 0x8041);
    EXPECT_EQ(back.status, 0x0203);
    EXPECT_EQ(back.request_id, 0xBEEF);
    EXPECT_EQ(back.payload_length, 1388);
}

TEST(DatagramHeader, Limits) {
    EXPECT_EQ(nw::max_datagram_size, 1400u);
    EXPECT_EQ(nw::max_payload_size, 1388u);
}

TEST(DatagramHeader, RequestId_LowBitsOfLocalMicroseconds) {
    // Seven hours east of UTC: that offset is about half of 65536 microseconds
    // away from a multiple of it, so an id made from UTC would fall outside the
    // window. A fresh thread starts with an empty local-time cache.
    const orvtest::ScopedTimeZone zone("XST-07");
    bool inWindow = false;
    std::thread([&] {
        for (int i = 0; i < 5 && !inWindow; ++i) { // a pre-emption between reads widens the window
            const uint64_t before = LocalMicrosSince1970();
            const uint16_t id = nw::datagram_header::next_request_id();
            const uint64_t after = LocalMicrosSince1970();
            inWindow = Between(id, before, after) && after - before < 20000;
        }
    }).join();
    EXPECT_TRUE(inWindow);
}

// The receiver address text of the log-service destination.
#include <nwLogging/Endpoint.h>
#include <nwLogging/LogSvcError.h>

#include <gtest/gtest.h>

namespace nw = nwLogging;

TEST(SocketAddress, DottedAddressAndPort) {
    const nw::endpoint parsed = nw::parse_socket_address("127.0.0.1:5000");
    EXPECT_EQ(parsed.address, 0x7F000001u);
    EXPECT_EQ(parsed.port, 5000);
    EXPECT_EQ(nw::parse_socket_address("10.0.0.1:1").port, 1);
    EXPECT_EQ(nw::parse_socket_address("10.0.0.1:65535").port, 65535);
    EXPECT_EQ(nw::parse_socket_address("10.0.0.1:80").address, 0x0A000001u);
    EXPECT_EQ(nw::parse_socket_address("255.255.255.255:9").address, 0xFFFFFFFFu);
    EXPECT_EQ(parsed.to_string(), "127.0.0.1:5000");
}

TEST(SocketAddress, MalformedTextsAreRefused) {
    for (const char* text : {"10.0.0.1:080",   "10.0.0.1:0",     "10.0.0.1:00",
                             "10.0.0.1:65536", "10.0.0.1:99999", "10.0.0.1:123456",
                             "10.0.0.1:",      "10.0.0.1",       ":80",
                             "10.0.0.1:80x",   "10.0.0.1:80:1",  "10.0.0.1: 80",
                             "10.0.0.1:+80",   "10.0.0.1:-1",    "10.0.0.256:80",
                             "010.0.0.1:80",   "10.0.0:80",      "localhost:80",
                             " 10.0.0.1:80",   "10.0.0.1 :80",   ""}) {
        try {
            nw::parse_socket_address(text);
            ADD_FAILURE() << "accepted: " << text;
        } catch (const nw::LogSvcError& e) {
            EXPECT_STREQ(e.what(), "Failed to parse socket address string") << text;
        }
    }
}

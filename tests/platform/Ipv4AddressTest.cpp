#include <platform/Ipv4Address.h>

#include <gtest/gtest.h>

using namespace platform;

TEST(Ipv4AddressTest, Parse_DottedQuad_IsHostOrder) {
    EXPECT_EQ(ParseIpv4Address("127.0.0.1"), std::optional<uint32_t>(kIpv4Loopback));
    EXPECT_EQ(ParseIpv4Address("10.0.0.1"), std::optional<uint32_t>(0x0A000001u));
    EXPECT_EQ(ParseIpv4Address("255.255.255.255"), std::optional<uint32_t>(0xFFFFFFFFu));
    EXPECT_EQ(ParseIpv4Address("0.0.0.0"), std::optional<uint32_t>(kIpv4Any));
}

TEST(Ipv4AddressTest, Parse_Malformed_IsRefused) {
    for (const char* text : {"", "1.2.3", "1.2.3.4.5", "256.0.0.1", "1.2.3.4 ", " 1.2.3.4",
                             "010.0.0.1", "0x7f.0.0.1", "1..2.3", "localhost", "1.2.3.4:80"})
        EXPECT_FALSE(ParseIpv4Address(text).has_value()) << text;
    EXPECT_FALSE(ParseIpv4Address(std::string("1.2.3.4\0junk", 12)).has_value());
}

TEST(Ipv4AddressTest, Format_RoundTrips) {
    EXPECT_EQ(FormatIpv4Address(kIpv4Loopback), "127.0.0.1");
    EXPECT_EQ(FormatIpv4Address(0xC0A80A01u), "192.168.10.1");
    for (uint32_t address : {0u, 0x01020304u, 0xFFFFFFFFu, 0x7F000001u})
        EXPECT_EQ(ParseIpv4Address(FormatIpv4Address(address)), std::optional<uint32_t>(address));
}

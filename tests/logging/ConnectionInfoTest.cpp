// The service's connection record in shared memory. These tests create the
// block under the program's private name (NWLOG_TEST_BLOCK_NAME), so the
// program's tests take turns (resource lock "logsvc").
#include <nwLogging/ConnectionInfo.h>
#include <nwLogging/LittleEndian.h>
#include <nwLogging/LogSvcError.h>

#include <platform/Environment.h>
#include <platform/SharedMemory.h>
#include <platform/SharedMemoryBlock.h>

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace nw = nwLogging;

namespace {

const std::string kGlobalName = std::string("Global\\") + nw::block_name();
const std::string kBareName = nw::block_name();

nw::connection_info Info(uint16_t commandPort, uint16_t recordPort) {
    nw::connection_info info;
    info.valid = 1;
    info.command = {0x7F000001, commandPort};
    info.records = {0x7F000002, recordPort};
    return info;
}

platform::SharedMemoryBlock Publish(const std::string& name, const void* bytes, size_t size) {
    std::string error;
    platform::SharedMemoryBlock block =
        platform::SharedMemoryBlock::Create(name, size, &error, true);
    if (!block)
        throw std::runtime_error("cannot create " + name + ": " + error);
    block.Write(0, bytes, size);
    return block;
}

platform::SharedMemoryBlock Publish(const std::string& name, const nw::connection_info& info) {
    const auto bytes = info.encode();
    return Publish(name, bytes.data(), bytes.size());
}

std::string ReadError() {
    try {
        nw::connection_info::read();
    } catch (const nw::LogSvcError& e) {
        return e.what();
    }
    return "<no LogSvcError>";
}

bool Exists(const std::string& name) {
    uint8_t byte = 0;
    return platform::ReadSharedMemory(name, &byte, 1).opened;
}

class ConnectionInfoBlock : public ::testing::Test {
protected:
    void SetUp() override {
        // Someone else publishes under this name; leave it alone.
        if (Exists(kGlobalName) || Exists(kBareName))
            GTEST_SKIP() << "a log service's connection block exists on this machine";
    }
};

} // namespace

TEST(ConnectionInfo, TwentyFourLittleEndianBytes) {
    nw::connection_info info = Info(0x1234, 0xABCD);
    info.reserved = 0x01020304;
    const auto bytes = info.encode();
    EXPECT_EQ(nw::get_le<uint32_t>(&bytes[0]), 0xABABBABAu);
    EXPECT_EQ(bytes[0], 0xBA);
    EXPECT_EQ(nw::get_le<uint32_t>(&bytes[4]), 1u);
    EXPECT_EQ(nw::get_le<uint32_t>(&bytes[8]), 0x01020304u);
    EXPECT_EQ(nw::get_le<uint32_t>(&bytes[12]), 0x7F000001u);
    EXPECT_EQ(nw::get_le<uint16_t>(&bytes[16]), 0x1234u);
    EXPECT_EQ(nw::get_le<uint32_t>(&bytes[18]), 0x7F000002u);
    EXPECT_EQ(nw::get_le<uint16_t>(&bytes[22]), 0xABCDu);
    const nw::connection_info back = nw::connection_info::decode(bytes.data());
    EXPECT_EQ(back.command, info.command);
    EXPECT_EQ(back.records, info.records);
    EXPECT_EQ(back.reserved, info.reserved);
}

TEST_F(ConnectionInfoBlock, NoBlock_SharedMemoryError) {
    EXPECT_EQ(ReadError(), "Shared memory error");
}

TEST_F(ConnectionInfoBlock, GlobalName_Read) {
    const platform::SharedMemoryBlock block = Publish(kGlobalName, Info(5000, 5001));
    const nw::connection_info info = nw::connection_info::read();
    EXPECT_EQ(info.command, (nw::endpoint{0x7F000001, 5000}));
    EXPECT_EQ(info.records, (nw::endpoint{0x7F000002, 5001}));
}

TEST_F(ConnectionInfoBlock, BareNameWhenTheGlobalOneIsMissing) {
    const platform::SharedMemoryBlock block = Publish(kBareName, Info(6000, 6001));
    EXPECT_EQ(nw::connection_info::read().command.port, 6000);
}

TEST_F(ConnectionInfoBlock, GlobalNameComesFirst) {
    const platform::SharedMemoryBlock global = Publish(kGlobalName, Info(7000, 7001));
    const platform::SharedMemoryBlock bare = Publish(kBareName, Info(8000, 8001));
    EXPECT_EQ(nw::connection_info::read().command.port, 7000);
}

TEST_F(ConnectionInfoBlock, InvalidGlobalBlock_IsNotPassedOverForTheBareOne) {
    nw::connection_info invalid = Info(7000, 7001);
    invalid.valid = 0;
    const platform::SharedMemoryBlock global = Publish(kGlobalName, invalid);
    const platform::SharedMemoryBlock bare = Publish(kBareName, Info(8000, 8001));
    EXPECT_EQ(ReadError(), "Failed to retrieve valid connection info");
}

TEST_F(ConnectionInfoBlock, ShortBlock_NotReadPastItsEnd) {
    // The first ten bytes of a valid record: magic and validity look right.
    const auto bytes = Info(5000, 5001).encode();
    const platform::SharedMemoryBlock block = Publish(kGlobalName, bytes.data(), 10);
    EXPECT_EQ(ReadError(), "Failed to retrieve valid connection info");
    const platform::SharedMemoryBlock almost = Publish(kGlobalName, bytes.data(), 23);
    EXPECT_EQ(ReadError(), "Failed to retrieve valid connection info");
}

TEST_F(ConnectionInfoBlock, WrongMagic_Refused) {
    nw::connection_info info = Info(5000, 5001);
    info.magic = 0xBABAABAB;
    const platform::SharedMemoryBlock block = Publish(kGlobalName, info);
    EXPECT_EQ(ReadError(), "Failed to retrieve valid connection info");
}

TEST_F(ConnectionInfoBlock, NotMarkedValid_Refused) {
    nw::connection_info info = Info(5000, 5001);
    info.valid = 0;
    const platform::SharedMemoryBlock block = Publish(kGlobalName, info);
    EXPECT_EQ(ReadError(), "Failed to retrieve valid connection info");
}

TEST_F(ConnectionInfoBlock, LongerBlock_OnlyTheRecordIsRead) {
    uint8_t bytes[64] = {};
    const auto record = Info(5100, 5101).encode();
    std::copy(record.begin(), record.end(), bytes);
    bytes[30] = 0xFF;
    const platform::SharedMemoryBlock block = Publish(kGlobalName, bytes, sizeof bytes);
    EXPECT_EQ(nw::connection_info::read().records.port, 5101);
}

TEST(ConnectionInfo, BlockName_TheTestVariableElseTheMachineName) {
    const std::optional<std::string> saved = platform::GetEnv(nw::private_block_variable);
    ASSERT_TRUE(platform::SetEnv(nw::private_block_variable, "orvtest_private"));
    EXPECT_EQ(nw::block_name(), "orvtest_private");
    ASSERT_TRUE(platform::SetEnv(nw::private_block_variable, ""));
    EXPECT_EQ(nw::block_name(), nw::connection_block_name) << "empty counts as unset";
    ASSERT_TRUE(platform::UnsetEnv(nw::private_block_variable));
    EXPECT_EQ(nw::block_name(), nw::connection_block_name);
    if (saved)
        platform::SetEnv(nw::private_block_variable, *saved);
}

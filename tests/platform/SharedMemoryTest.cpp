#include <platform/SharedMemory.h>

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <unistd.h>
#include <vector>

using namespace platform;

namespace {

// A name no other test run uses, in the form the log client tries first.
std::string UniqueName(const std::string& stem) {
    return "orvtest_" + stem + "_" + std::to_string(::getpid());
}

std::vector<unsigned char> ConnectionRecord() {
    std::vector<unsigned char> record(24, 0);
    const uint32_t magic = 0xABABBABA;
    std::memcpy(record.data(), &magic, 4);
    record[4] = 1;
    return record;
}

class SharedMemoryTest : public ::testing::Test {
protected:
    void TearDown() override {
        for (const std::string& name : names_)
            SharedMemoryBlock::Remove(name);
    }
    std::string Name(const std::string& stem) {
        names_.push_back(UniqueName(stem));
        return names_.back();
    }
    std::vector<std::string> names_;
};

} // namespace

TEST_F(SharedMemoryTest, GlobalPrefixedName_IsABlockUnderDevShm) {
    const std::string name = "Global\\" + Name("global");
    std::string error;
    SharedMemoryBlock block = SharedMemoryBlock::Create(name, 24, &error);
    ASSERT_TRUE(block) << error;
    EXPECT_TRUE(std::filesystem::exists("/dev/shm/" + name));
    const std::vector<unsigned char> record = ConnectionRecord();
    ASSERT_TRUE(block.Write(0, record.data(), record.size()));

    std::vector<unsigned char> copy(24, 0xEE);
    SharedMemoryReadResult read = ReadSharedMemory(name, copy.data(), copy.size());
    ASSERT_TRUE(read.opened) << read.error;
    EXPECT_EQ(read.blockSize, 24u);
    EXPECT_EQ(read.copied, 24u);
    EXPECT_EQ(copy, record);
}

TEST_F(SharedMemoryTest, BareAndGlobalNames_AreDifferentBlocks) {
    const std::string bare = Name("bare");
    SharedMemoryBlock block = SharedMemoryBlock::Create(bare, 24);
    ASSERT_TRUE(block);
    unsigned char buffer[24];
    SharedMemoryReadResult global = ReadSharedMemory("Global\\" + bare, buffer, sizeof buffer);
    EXPECT_FALSE(global.opened);
    EXPECT_FALSE(global.error.empty());
    EXPECT_TRUE(ReadSharedMemory(bare, buffer, sizeof buffer).opened);
}

TEST_F(SharedMemoryTest, Read_MissingBlock_FailsWithReason) {
    unsigned char buffer[24];
    SharedMemoryReadResult read = ReadSharedMemory(UniqueName("absent"), buffer, sizeof buffer);
    EXPECT_FALSE(read.opened);
    EXPECT_EQ(read.copied, 0u);
    EXPECT_NE(read.error.find(UniqueName("absent")), std::string::npos) << read.error;
}

TEST_F(SharedMemoryTest, Read_BlockShorterThanBuffer_CopiesOnlyTheBlock) {
    const std::string name = Name("short");
    SharedMemoryBlock block = SharedMemoryBlock::Create(name, 10);
    ASSERT_TRUE(block);
    ASSERT_TRUE(block.Write(0, "0123456789", 10));
    std::vector<char> buffer(24, '#');
    SharedMemoryReadResult read = ReadSharedMemory(name, buffer.data(), buffer.size());
    ASSERT_TRUE(read.opened);
    EXPECT_EQ(read.blockSize, 10u); // the caller sees the block is too short for its record
    EXPECT_EQ(read.copied, 10u);
    EXPECT_EQ(std::string(buffer.begin(), buffer.end()), "0123456789##############");
}

TEST_F(SharedMemoryTest, Read_BlockLongerThanBuffer_CopiesTheFirstBytes) {
    const std::string name = Name("long");
    SharedMemoryBlock block = SharedMemoryBlock::Create(name, 4096);
    ASSERT_TRUE(block);
    ASSERT_TRUE(block.Write(0, "abcdefgh", 8));
    char buffer[4];
    SharedMemoryReadResult read = ReadSharedMemory(name, buffer, sizeof buffer);
    ASSERT_TRUE(read.opened);
    EXPECT_EQ(read.blockSize, 4096u);
    EXPECT_EQ(read.copied, 4u);
    EXPECT_EQ(std::string(buffer, 4), "abcd");
}

TEST_F(SharedMemoryTest, Write_PastTheEnd_IsRefusedAndChangesNothing) {
    const std::string name = Name("bounds");
    SharedMemoryBlock block = SharedMemoryBlock::Create(name, 8);
    ASSERT_TRUE(block);
    EXPECT_FALSE(block.Write(4, "12345", 5));
    EXPECT_FALSE(block.Write(9, "", 0));
    EXPECT_FALSE(block.Write(SIZE_MAX, "1", 1));
    EXPECT_TRUE(block.Write(8, "", 0));
    EXPECT_TRUE(block.Write(4, "1234", 4));
    char buffer[8];
    ReadSharedMemory(name, buffer, sizeof buffer);
    EXPECT_EQ(std::string(buffer, 8), std::string("\0\0\0\0"
                                                  "1234",
                                                  8));
}

TEST_F(SharedMemoryTest, Destruction_RemovesTheBlock) {
    const std::string name = Name("gone");
    {
        SharedMemoryBlock block = SharedMemoryBlock::Create(name, 24);
        ASSERT_TRUE(block);
    }
    char buffer[24];
    EXPECT_FALSE(ReadSharedMemory(name, buffer, sizeof buffer).opened);
    EXPECT_FALSE(std::filesystem::exists("/dev/shm/" + name));
}

TEST_F(SharedMemoryTest, Ownership_MoveKeepsOneOwnerAndReleaseLeavesBlock) {
    const std::string name = Name("owner");
    SharedMemoryBlock first = SharedMemoryBlock::Create(name, 24);
    ASSERT_TRUE(first);
    SharedMemoryBlock second = std::move(first);
    EXPECT_FALSE(first);
    EXPECT_EQ(first.get(), nullptr);
    ASSERT_TRUE(second);
    EXPECT_EQ(second.name(), name);
    EXPECT_EQ(second.size(), 24u);
    first.reset(); // empty: must not remove the block the other one owns
    char buffer[24];
    EXPECT_TRUE(ReadSharedMemory(name, buffer, sizeof buffer).opened);

    EXPECT_EQ(second.release(), name);
    EXPECT_FALSE(second);
    EXPECT_TRUE(ReadSharedMemory(name, buffer, sizeof buffer).opened);
    EXPECT_TRUE(SharedMemoryBlock::Remove(name));
    EXPECT_FALSE(SharedMemoryBlock::Remove(name));
}

TEST_F(SharedMemoryTest, Create_ExistingName_FailsUnlessReplacing) {
    const std::string name = Name("twice");
    SharedMemoryBlock first = SharedMemoryBlock::Create(name, 24);
    ASSERT_TRUE(first);
    ASSERT_TRUE(first.Write(0, "old", 3));
    std::string error;
    SharedMemoryBlock second = SharedMemoryBlock::Create(name, 24, &error);
    EXPECT_FALSE(second);
    EXPECT_FALSE(error.empty());
    first.release(); // as a crashed owner would leave it

    SharedMemoryBlock replaced = SharedMemoryBlock::Create(name, 32, &error, true);
    ASSERT_TRUE(replaced) << error;
    char buffer[32];
    SharedMemoryReadResult read = ReadSharedMemory(name, buffer, sizeof buffer);
    EXPECT_EQ(read.blockSize, 32u);
    EXPECT_EQ(std::string(buffer, 3), std::string(3, '\0'));
}

TEST_F(SharedMemoryTest, Names_UnusableOnes_AreRefusedWithReason) {
    std::string error;
    EXPECT_FALSE(SharedMemoryBlock::Create("", 24, &error));
    EXPECT_FALSE(error.empty());
    EXPECT_FALSE(SharedMemoryBlock::Create("Global/slash", 24, &error));
    EXPECT_NE(error.find("'/'"), std::string::npos) << error;
    EXPECT_FALSE(SharedMemoryBlock::Create(std::string(300, 'n'), 24, &error));
    EXPECT_FALSE(SharedMemoryBlock::Create(Name("empty"), 0, &error));
    char buffer[4];
    EXPECT_FALSE(ReadSharedMemory("a/b", buffer, sizeof buffer).opened);
}

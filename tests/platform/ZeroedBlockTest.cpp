// The zero-filled block behind the buffer ring: zero everywhere, writable, large
// blocks on a 2 MiB boundary, moves hand the block over, Abandon keeps it.
#include <platform/ZeroedBlock.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <utility>

namespace {

bool AllZero(const uint8_t* data, size_t size) {
    for (size_t i = 0; i < size; ++i)
        if (data[i] != 0)
            return false;
    return true;
}

} // namespace

TEST(ZeroedBlock, SmallAndLargeBlocks_ReadZeroAndAreWritable) {
    // Below, at and above the size from which the block is mapped directly.
    for (size_t size : {size_t{1}, size_t{4097}, size_t{2} << 20, (size_t{5} << 20) + 123}) {
        platform::ZeroedBlock block(size);
        ASSERT_NE(block.get(), nullptr) << size;
        EXPECT_EQ(block.size(), size);
        EXPECT_TRUE(AllZero(block.get(), size)) << size;
        block.get()[0] = 1;
        block.get()[size - 1] = 2;
        EXPECT_EQ(block.get()[size - 1], 2);
    }
}

TEST(ZeroedBlock, LargeBlock_StartsOnALargePageBoundary) {
    platform::ZeroedBlock block(size_t{6} << 20);
    EXPECT_EQ(reinterpret_cast<uintptr_t>(block.get()) % (uintptr_t{2} << 20), 0u);
}

TEST(ZeroedBlock, Move_HandsTheBlockOverAndEmptyOrAbandonedBlocksFreeNothing) {
    platform::ZeroedBlock first(size_t{3} << 20);
    uint8_t* data = first.get();
    data[100] = 7;
    platform::ZeroedBlock second(std::move(first));
    EXPECT_EQ(first.get(), nullptr);
    EXPECT_EQ(second.get(), data);
    EXPECT_EQ(second.get()[100], 7);
    platform::ZeroedBlock third;
    third = std::move(second);
    EXPECT_EQ(third.get(), data);
    EXPECT_EQ(third.size(), size_t{3} << 20);

    for (size_t size : {size_t{64}, size_t{2} << 20}) {
        platform::ZeroedBlock kept(size);
        uint8_t* given = kept.get();
        kept.Abandon();
        EXPECT_EQ(kept.get(), nullptr);
        EXPECT_EQ(kept.size(), 0u);
        given[size - 1] = 1; // still the caller's to write until freed
        platform::ZeroedBlock::FreeAbandoned(given, size);
    }
}

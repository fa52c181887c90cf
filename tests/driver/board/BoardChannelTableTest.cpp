// The board's channel table: one shared channel per DMA while it lives, nothing
// beyond the channel count.
#include "BoardTestSupport.h"

#include "support/ScopedCapture.h"

#include <gtest/gtest.h>

#include <stdexcept>

using namespace boardtest;

TEST(DriverBoardChannels, IndexEqualToTheCount_DoesNotExist) {
    ScopedCapture capture;
    Rig rig(CameraLinkSetup({Dma{}, Dma{}}));
    auto board = rig.Board();
    ASSERT_NE(board, nullptr);
    std::shared_ptr<CDrvChannel> channel;
    board->CreateChannel(channel, L"~idx:2", nullptr);
    EXPECT_EQ(channel, nullptr);

    const auto error = With(capture.target(), "Requested channel does not exist. Index = ");
    ASSERT_EQ(error.size(), 1u);
    EXPECT_EQ(error[0].text, "\tBoard = 0\tRequested channel does not exist. Index = 2");
    EXPECT_EQ(Where(error[0]), "err DriverBoard(121)");
    EXPECT_EQ(board->OpenChannel(L"~idx:-1", nullptr), nullptr);
}

TEST(DriverBoardChannels, SameIndexWhileAlive_SameChannelAndOneCreatedLine) {
    ScopedCapture capture;
    Rig rig(CameraLinkSetup({Dma{}, Dma{}}));
    auto board = rig.Board();
    ASSERT_NE(board, nullptr);
    auto first = board->OpenChannel(L"~idx:1", nullptr);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(board->OpenChannel(L"~idx:1", nullptr), first);
    EXPECT_EQ(With(capture.target(), "\tBoard = 0\tCreated channel: 1").size(), 1u);
    EXPECT_EQ(&first->DriverBoard(), board.get());
    EXPECT_EQ(first->Board(), board) << "the channel holds its board";

    std::weak_ptr<CDriverChannel> watch = first;
    first.reset();
    EXPECT_TRUE(watch.expired()) << "the board holds channels weakly";
    EXPECT_NE(board->OpenChannel(L"~idx:1", nullptr), nullptr);
    EXPECT_EQ(With(capture.target(), "\tBoard = 0\tCreated channel: 1").size(), 2u);
}

TEST(DriverBoardChannels, NameWithoutNumber_ThrowsTheConversionError) {
    Rig rig(CameraLinkSetup({Dma{}}));
    auto board = rig.Board();
    ASSERT_NE(board, nullptr);
    EXPECT_THROW(board->OpenChannel(L"~idx:x", nullptr), std::invalid_argument);
    EXPECT_THROW(board->OpenChannel(L"~id", nullptr), std::out_of_range);
}

// The channel number is read after the requested name's own prefix, whatever the
// board was named.
TEST(DriverBoardChannels, PrefixOfTheRequestedName_DecidesWhereTheNumberIs) {
    Rig rig(CameraLinkSetup({Dma{}, Dma{}}));
    auto board = rig.Board(L"idx:0");
    ASSERT_NE(board, nullptr);
    auto channel = board->OpenChannel(L"~idx:1", nullptr);
    ASSERT_NE(channel, nullptr);
    EXPECT_EQ(channel->DmaIndex(), 1u);
    auto plain = board->OpenChannel(L"idx:0", nullptr);
    ASSERT_NE(plain, nullptr);
    EXPECT_EQ(plain->DmaIndex(), 0u);
}

TEST(DriverBoardChannels, ChannelKeepsItsWrapperWeakly) {
    Rig rig(CameraLinkSetup({Dma{}}));
    auto board = rig.Board();
    ASSERT_NE(board, nullptr);
    auto wrapper = std::make_shared<IDDKRefCnt>();
    std::shared_ptr<CDrvChannel> opened;
    board->CreateChannel(opened, L"~idx:0", wrapper);
    auto channel = std::dynamic_pointer_cast<CDriverChannel>(opened);
    ASSERT_NE(channel, nullptr);
    EXPECT_EQ(channel->Parent().lock(), wrapper);
    wrapper.reset();
    EXPECT_TRUE(channel->Parent().expired());
}

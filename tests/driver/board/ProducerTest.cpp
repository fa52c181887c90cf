// The producer: enumeration over the vendor board indices and opening boards by
// name, with the board of the requested name's number.
#include "BoardTestSupport.h"

#include "support/ScopedCapture.h"

#include <simctl/SimControl.h>

#include <gtest/gtest.h>

using namespace boardtest;

namespace {

const std::string separator = "-------------------";

} // namespace

TEST(DriverProducer, Enumerate_NoneThenSupportedThenNoBoard_OneEntryForVendorIndexOne) {
    ScopedCapture capture;
    Rig rig(
        {Machine(BoardSection(0, 0) + BoardSection(1, 1873) + "[board2]\ntype = -1\n"), "", {}});
    const auto& producer = rig.Producer();

    ASSERT_EQ(producer->Boards().size(), 1u);
    EXPECT_EQ(producer->Boards().at(0).vendorIndex, 1);
    EXPECT_EQ(producer->GetBoardCount(), 1);
    EXPECT_TRUE(
        InOrder(capture.target(),
                {"Startup Producer", separator,
                 "Found unsupported board: NONE | With board index: 0 | SiSo board type: 0x0",
                 separator, separator,
                 "Found supported board: me_5VCL | With board index: 1 | SiSo board type: "
                 "0x751",
                 separator, separator, "Found no board: Error | With board index: 2", separator}));
    EXPECT_EQ(With(capture.target(), separator).size(), 6u);
    EXPECT_EQ(SimCtl_CallCount("Fg_BoardType"), 3) << "the walk stops at the SDK's -1";
}

TEST(DriverProducer, Enumerate_SixteenSupportedBoards_FillEntriesAndNoNoBoardLine) {
    ScopedCapture capture;
    std::string boards;
    for (int i = 0; i < 16; ++i)
        boards += BoardSection(i, 1873, 1);
    Rig rig({Machine(boards), "", {}});
    const auto& producer = rig.Producer();

    ASSERT_EQ(producer->GetBoardCount(), 16);
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(producer->Boards().at(i).vendorIndex, i);
    EXPECT_TRUE(With(capture.target(), "Found no board").empty());
    EXPECT_EQ(SimCtl_CallCount("Fg_BoardType"), 16) << "never past vendor index 15";
}

TEST(DriverProducer, Enumerate_UnlistedAndPxCodes_AreSkippedWithoutEndingTheWalk) {
    ScopedCapture capture;
    Rig rig(
        {Machine(BoardSection(0, 1874) + BoardSection(1, 3140) + BoardSection(2, 2624)), "", {}});
    const auto& producer = rig.Producer();

    ASSERT_EQ(producer->GetBoardCount(), 1);
    EXPECT_EQ(producer->Boards().at(0).vendorIndex, 2);
    EXPECT_FALSE(
        With(capture.target(),
             "Found unsupported board: NEW (maybe) | With board index: 0 | SiSo board type: 0x752")
            .empty());
    EXPECT_FALSE(
        With(capture.target(),
             "Found unsupported board: PX300-CxP | With board index: 1 | SiSo board type: 0xc44")
            .empty());
}

TEST(DriverProducer, BoardCount_EnumeratesOnlyOnce) {
    Rig rig({Machine(BoardSection(0, 1873)), "", {}});
    const auto& producer = rig.Producer();
    const int64_t calls = SimCtl_CallCount("Fg_BoardType");
    EXPECT_EQ(producer->GetBoardCount(), 1);
    EXPECT_EQ(producer->GetBoardCount(), 1);
    EXPECT_EQ(SimCtl_CallCount("Fg_BoardType"), calls);
}

TEST(DriverProducer, OpenBoard_NoBoardsAtAll_LogsMissingIndexAndGivesNull) {
    ScopedCapture capture;
    Rig rig({Machine(""), "", {}});
    EXPECT_EQ(rig.Board(L"~idx:0"), nullptr);

    const auto lines = With(capture.target(), "Requested board does not exist. Index = 0");
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(Where(lines[0]), "err DriverProducer(57)");
}

// Two boards with different applets: the request "~idx:1" on producer "~idx:0"
// must reach the second board, not the first one again.
TEST(DriverProducer, OpenBoard_SecondNameOnTwoBoardMachine_OpensTheSecondBoard) {
    Rig::Setup setup;
    setup.machine = Machine(BoardSection(0, 1873, 1) + BoardSection(1, 1873, 1));
    setup.configuration = BoardConfiguration(0, "a.mcf") + BoardConfiguration(1, "b.mcf");
    setup.files = {{"a.mcf", Applet({Dma{640, 480}})}, {"b.mcf", Applet({Dma{320, 200}})}};
    Rig rig(setup);

    std::shared_ptr<CDrvBoard> framework;
    rig.Producer()->CreateBoard(framework, L"~idx:1");
    auto second = std::dynamic_pointer_cast<CDriverBoard>(framework);
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(second->VendorIndex(), 1);
    EXPECT_EQ(second->LogicalNumber(), 1);
    EXPECT_EQ(second->GetBoardIndex(), 1);
    auto channel = rig.Channel(*second);
    ASSERT_NE(channel, nullptr);
    EXPECT_EQ(channel->Width(), 320u) << "the second board's applet";

    auto first = rig.Board(L"~idx:0");
    ASSERT_NE(first, nullptr);
    EXPECT_NE(first, second);
    EXPECT_EQ(first->VendorIndex(), 0);
    EXPECT_NE(first->Grabber(), second->Grabber());
}

TEST(DriverProducer, OpenBoard_TwiceWhileAlive_SameBoardAndOneCreatedLine) {
    ScopedCapture capture;
    Rig rig(CameraLinkSetup({Dma{}}));
    auto first = rig.Board();
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(rig.Board(), first);
    EXPECT_EQ(With(capture.target(), "Created board: 0").size(), 1u);

    std::weak_ptr<CDriverBoard> watch = first;
    first.reset();
    EXPECT_TRUE(watch.expired()) << "the producer holds boards weakly";
    auto again = rig.Board();
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(With(capture.target(), "Created board: 0").size(), 2u);
}

TEST(DriverProducer, OpenBoard_KeepsTheRequestedNameAndCountsMissingDigitsAsZero) {
    Rig rig(CameraLinkSetup({Dma{}}));
    auto board = rig.Board(L"~idx:");
    ASSERT_NE(board, nullptr);
    EXPECT_EQ(board->LogicalNumber(), 0);
    std::wstring name;
    board->GetBoardName(name);
    EXPECT_EQ(name, L"~idx:");
    std::shared_ptr<void> owner;
    board->GetOwner(owner);
    EXPECT_EQ(owner, rig.Producer());
}

TEST(DriverProducer, OpenBoard_UnconfiguredBoard_GivesNullAndIsTriedAgain) {
    ScopedCapture capture;
    Rig rig({Machine(BoardSection(0, 1873)), "", {}});
    EXPECT_EQ(rig.Board(), nullptr);
    EXPECT_EQ(rig.Board(), nullptr);
    EXPECT_EQ(With(capture.target(), "Created board: 0").size(), 2u) << "failures are not cached";
    EXPECT_TRUE(rig.Producer()->Boards().at(0).board.expired());
}

TEST(DriverProducer, Destruction_LogsClosingAtTrace) {
    ScopedCapture capture;
    Rig rig({Machine(BoardSection(0, 1873)), "", {}});
    {
        CDriverProducer producer(rig.System(), L"~idx:0");
        std::wstring name;
        producer.GetProducerName(name);
        EXPECT_EQ(name, L"~idx:0");
    }
    const auto closing = With(capture.target(), "Closing Producer");
    ASSERT_EQ(closing.size(), 1u);
    EXPECT_EQ(Where(closing[0]), "trace ");
}

// The machine description: boards per index, runtime text, lazy loading from $SISODIR5,
// parse errors, applet files and swapping the machine.
#include "SimTestSupport.h"

#include "support/ScopedEnvironmentVariable.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <set>
#include <string>

using namespace simtest;

namespace {

class MachineTest : public ::testing::Test {
protected:
    void SetUp() override { UseMachine(); }

    // Loads text that must be refused and answers the error text.
    static std::string Refused(const std::string& text) {
        EXPECT_EQ(SimCtl_LoadMachineText(text.c_str()), SIMCTL_ERR_MACHINE) << text;
        return SimCtl_LastError();
    }

    TempDir dir_;
    ScopedEnvironmentVariable sisoDir_{"SISODIR5", std::nullopt};
};

TEST_F(MachineTest, EmbeddedDefault_OneCameraLinkBoardWithTwoDmasOf640x480Gray8) {
    EXPECT_STREQ(Fg_RuntimeVersion(), "5.7.0");
    EXPECT_EQ(Fg_BoardType(0), 1873);
    EXPECT_EQ(Fg_BoardType(1), -1);
    Board board(dir_.Write("applet.ini", ""), 0);
    ASSERT_TRUE(board);
    EXPECT_EQ(Parameter<std::uint32_t>(board.get(), FG_PARAM_WIDTH, 0), 640u);
    EXPECT_EQ(Parameter<std::uint32_t>(board.get(), FG_PARAM_HEIGHT, 1), 480u);
    EXPECT_EQ(Parameter<std::uint32_t>(board.get(), FG_PARAM_FORMAT, 0),
              static_cast<std::uint32_t>(FG_FORMAT_GRAY8));
    EXPECT_EQ(Parameter<std::uint32_t>(board.get(), SIM_PARAM_TESTPATTERN, 0),
              static_cast<std::uint32_t>(SIM_PATTERN_MOVING));
    std::uint32_t width = 0;
    EXPECT_EQ(Fg_GetParameter(board.get(), FG_PARAM_WIDTH, &width, 2), FG_ERR_INVALID_DMA);
}

TEST_F(MachineTest, BoardType_PerIndex_AnyCodeHolesAndMinusOne) {
    UseMachine("[machine]\nruntime = 5.4.1.3\n"
               "[board0]\ntype = 0\n[board1]\ntype = 0x751\n[board2]\ntype = -1\n"
               "[board3]\ntype = 3140\n[board4]\ntype = 65535\n[board15]\ntype = 1880\n");
    EXPECT_STREQ(Fg_RuntimeVersion(), "5.4.1.3");
    EXPECT_EQ(Fg_BoardType(0), 0);
    EXPECT_EQ(Fg_BoardType(1), 1873);
    EXPECT_EQ(Fg_BoardType(2), -1);
    EXPECT_EQ(Fg_BoardType(3), 3140);
    EXPECT_EQ(Fg_BoardType(4), 65535);
    EXPECT_EQ(Fg_BoardType(5), -1);
    EXPECT_EQ(Fg_BoardType(15), 1880);
    EXPECT_EQ(Fg_BoardType(16), -1);
    EXPECT_EQ(Fg_BoardType(-1), -1);
    // A declared hole cannot be opened either.
    EXPECT_EQ(Fg_OpenBoard(dir_.Write("a.ini", "").c_str(), 2), nullptr);
    EXPECT_EQ(Fg_LastErrorNumber(nullptr), FG_ERR_NO_SUCH_BOARD);
}

TEST_F(MachineTest, LazyLoad_MachineFileInSisoDir_IsReadOnTheFirstCall) {
    dir_.Write("fgsim_machine.ini", "[machine]\nruntime = 5.1.0\n[board0]\ntype = 3652\n");
    sisoDir_.Set(dir_.Path().string());
    ASSERT_EQ(SimCtl_ResetMachine(), SIMCTL_OK);
    EXPECT_EQ(Fg_BoardType(0), 3652);
    EXPECT_EQ(Fg_BoardType(1), -1);
    EXPECT_EQ(Fg_LastErrorNumber(nullptr), FG_ERR_NO_SUCH_BOARD);
    EXPECT_STREQ(Fg_LastErrorText(nullptr), "no board at this index: index 1");
    EXPECT_STREQ(Fg_RuntimeVersion(), "5.1.0");
}

TEST_F(MachineTest, LazyLoad_NoMachineFile_UsesTheEmbeddedDefault) {
    sisoDir_.Set(dir_.Path().string());
    ASSERT_EQ(SimCtl_ResetMachine(), SIMCTL_OK);
    EXPECT_EQ(Fg_BoardType(0), 1873);
    EXPECT_STREQ(Fg_RuntimeVersion(), "5.7.0");
}

TEST_F(MachineTest, LazyLoad_MalformedMachineFile_LeavesNoBoardsAndSaysWhy) {
    dir_.Write("fgsim_machine.ini", "[board0]\ntype = banana\n");
    sisoDir_.Set(dir_.Path().string());
    ASSERT_EQ(SimCtl_ResetMachine(), SIMCTL_OK);
    EXPECT_EQ(Fg_BoardType(0), -1);
    // The board-type query says why as well.
    EXPECT_EQ(Fg_LastErrorNumber(nullptr), FG_ERR_MACHINE);
    EXPECT_NE(std::string(Fg_LastErrorText(nullptr)).find("fgsim_machine.ini:2"),
              std::string::npos);
    EXPECT_EQ(Fg_RuntimeVersion(), nullptr);
    EXPECT_EQ(Fg_OpenBoard(dir_.Write("a.ini", "").c_str(), 0), nullptr);
    EXPECT_EQ(Fg_LastErrorNumber(nullptr), FG_ERR_MACHINE);
    EXPECT_NE(std::string(Fg_LastErrorText(nullptr)).find("fgsim_machine.ini:2"),
              std::string::npos);
    EXPECT_NE(std::string(SimCtl_LastError()).find("banana"), std::string::npos);
}

TEST_F(MachineTest, Parse_Errors_NameTheLineAndKeepTheOldMachine) {
    EXPECT_NE(Refused("[board0]\ntype = 1873\nwidht = 5\n").find("machine text:3"),
              std::string::npos);
    EXPECT_NE(Refused("[board0]\n").find("needs a 'type'"), std::string::npos);
    EXPECT_NE(Refused("[board16]\ntype = 1\n").find("[board16]"), std::string::npos);
    EXPECT_NE(Refused("[boards]\ntype = 1\n").find("[board0] to [board15]"), std::string::npos);
    EXPECT_NE(Refused("[misc]\ntype = 1\n").find("unknown section"), std::string::npos);
    EXPECT_NE(Refused("type = 1\n").find("outside of any section"), std::string::npos);
    EXPECT_NE(Refused("[board0\n").find("closing"), std::string::npos);
    EXPECT_NE(Refused("[board0]\ntype = 1\ntype = 2\n").find("twice"), std::string::npos);
    EXPECT_NE(Refused("[board0]\ntype = 3652\nport0 = ghost\n").find("ghost"), std::string::npos);
    EXPECT_NE(Refused("[board0]\ntype = 1873\nport0 = cam\n[camera:cam]\n").find("no GigE board"),
              std::string::npos);
    EXPECT_NE(Refused("[board0]\ntype = 3652\nport0 = cam\n[board1]\ntype = 3652\nport0 = cam\n"
                      "[camera:cam]\n")
                  .find("attached twice"),
              std::string::npos);
    EXPECT_NE(Refused("[board0]\ntype = 2646\ncameras = a\n[camera:a]\nWidth = 5000\n")
                  .find("out of range"),
              std::string::npos);
    EXPECT_NE(
        Refused("[board0]\ntype = 2646\ncameras = a\n[camera:a]\nAcquisitionFrameRate = 0.5\n")
            .find("out of range"),
        std::string::npos);
    EXPECT_NE(Refused("[board0]\ntype = 2646\ncameras = a\n[camera:a]\nAcquisitionFrameRate = x\n")
                  .find("needs a number"),
              std::string::npos);
    EXPECT_NE(
        Refused("[board0]\ntype = 2646\ncameras = a\n[camera:a]\nmemory = 16\n").find("memory"),
        std::string::npos);
    EXPECT_NE(Refused("[board0]\ntype = 2646\ncameras = a\n[camera:a]\nkind = gige\n").find("kind"),
              std::string::npos);
    EXPECT_NE(Refused("[faults]\nFg_Nothing = -1\n").find("Fg_Nothing"), std::string::npos);
    EXPECT_NE(Refused("[faults]\nFg_AcquireEx = -1 sometimes\n").find("once, always"),
              std::string::npos);
    EXPECT_NE(Refused("[camera:lonely]\n").find("not attached"), std::string::npos);
    // The embedded machine loaded in SetUp is still in place.
    EXPECT_EQ(Fg_BoardType(0), 1873);
}

TEST_F(MachineTest, LoadMachineFile_MissingFile_IsRefused) {
    EXPECT_EQ(SimCtl_LoadMachineFile((dir_.Path() / "none.ini").string().c_str()),
              SIMCTL_ERR_MACHINE);
    EXPECT_NE(std::string(SimCtl_LastError()).find("none.ini"), std::string::npos);
    const std::string path = dir_.Write("m.ini", "[board3]\ntype = 2650\n");
    EXPECT_EQ(SimCtl_LoadMachineFile(path.c_str()), SIMCTL_OK);
    EXPECT_EQ(Fg_BoardType(3), 2650);
}

TEST_F(MachineTest, Swap_WhileABoardIsOpen_IsRefusedAsBusy) {
    Board board(dir_.Write("applet.ini", ""), 0);
    ASSERT_TRUE(board);
    EXPECT_EQ(SimCtl_ResetMachine(), SIMCTL_ERR_BUSY);
    EXPECT_EQ(SimCtl_LoadMachineText("[board0]\ntype = 1\n"), SIMCTL_ERR_BUSY);
    EXPECT_EQ(Fg_OpenBoard(dir_.Write("b.ini", "").c_str(), 0), nullptr);
    EXPECT_EQ(Fg_LastErrorNumber(nullptr), FG_ERR_BOARD_BUSY);
}

TEST_F(MachineTest, Applet_MissingOrMalformed_OpenFailsWithText) {
    EXPECT_EQ(Fg_OpenBoard((dir_.Path() / "missing.mcf").string().c_str(), 0), nullptr);
    EXPECT_EQ(Fg_LastErrorNumber(nullptr), FG_ERR_APPLET_CONFIG);
    EXPECT_NE(std::string(Fg_LastErrorText(nullptr)).find("missing.mcf"), std::string::npos);

    EXPECT_EQ(Fg_OpenBoard(dir_.Path().string().c_str(), 0), nullptr);
    EXPECT_EQ(Fg_LastErrorNumber(nullptr), FG_ERR_APPLET_CONFIG);

    const struct {
        const char* text;
        const char* expected;
    } cases[] = {
        {"[dma0]\nwidth = x\n", "applet.ini:2"},
        {"[dma0]\ncolour = red\n", "colour"},
        {"[dma2]\n", "beyond"},
        {"[dma0]\nwidth = 5000\nmaxwidth = 4000\n", "larger"},
        {"[dma0]\ntrigger = hardware\n", "trigger"},
        {"[dma0]\npattern = stripes\n", "pattern"},
        {"[dma0]\nformat = rgb\n", "format"},
        {"[applet]\ndmas = 3\n", "dmas"},
        {"[other]\n", "unknown section"},
    };
    for (const auto& c : cases) {
        const std::string path = dir_.Write("applet.ini", c.text);
        EXPECT_EQ(Fg_OpenBoard(path.c_str(), 0), nullptr) << c.text;
        EXPECT_NE(std::string(Fg_LastErrorText(nullptr)).find(c.expected), std::string::npos)
            << Fg_LastErrorText(nullptr);
    }
    EXPECT_EQ(Fg_OpenBoard(nullptr, 0), nullptr);
    EXPECT_EQ(Fg_LastErrorNumber(nullptr), FG_ERR_NULL_ARGUMENT);
}

TEST_F(MachineTest, Applet_FewerDmasThanTheBoard_OffersOnlyThose) {
    Board board(dir_.Write("applet.ini", "[applet]\ndmas = 1\n"), 0);
    ASSERT_TRUE(board);
    std::uint32_t width = 0;
    EXPECT_EQ(Fg_GetParameter(board.get(), FG_PARAM_WIDTH, &width, 0), 0);
    EXPECT_EQ(Fg_GetParameter(board.get(), FG_PARAM_WIDTH, &width, 1), FG_ERR_INVALID_DMA);
}

TEST_F(MachineTest, ErrorTexts_EveryCodeHasItsOwnText) {
    std::set<std::string> texts;
    const int codes[] = {FG_ERR_NO_SUCH_BOARD, FG_ERR_BOARD_BUSY,         FG_ERR_APPLET_CONFIG,
                         FG_ERR_MACHINE,       FG_ERR_INVALID_HANDLE,     FG_ERR_INVALID_MEMORY,
                         FG_ERR_TIMEOUT,       FG_ERR_ACQUISITION_STOPPED};
    for (int code : codes) {
        // An unknown board index records the code's text as the thread's last error.
        SimCtl_FailCall("Fg_OpenBoard", code, 1);
        EXPECT_EQ(Fg_OpenBoard("x", 0), nullptr);
        EXPECT_EQ(Fg_LastErrorNumber(nullptr), code);
        texts.insert(Fg_LastErrorText(nullptr));
    }
    EXPECT_EQ(texts.size(), sizeof(codes) / sizeof(codes[0]));
}

} // namespace

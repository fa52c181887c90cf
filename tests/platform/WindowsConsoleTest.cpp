// The console functions on Windows. A console takes colours as text attributes
// and its title from SetConsoleTitleA; a child of this test program runs in a
// pseudo console, writes there, and what the console sends to its terminal shows
// both. A redirected stream gets the escape sequences a terminal would.
#include <platform/Console.h>

#include "support/ConsoleChild.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <io.h>

using namespace platform;
using orvtest::BlackAsOwnBackground;

namespace {

// A pipe of the C run-time, its two ends closed on destruction.
struct Pipe {
    int ends[2] = {-1, -1};
    Pipe() { EXPECT_EQ(::_pipe(ends, 1 << 16, _O_BINARY | _O_NOINHERIT), 0); }
    ~Pipe() {
        for (int end : ends)
            if (end >= 0)
                ::_close(end);
    }
    std::string ReadAll() {
        ::_close(ends[1]);
        ends[1] = -1;
        std::string text;
        char buffer[4096];
        for (int n; (n = ::_read(ends[0], buffer, sizeof buffer)) > 0;)
            text.append(buffer, static_cast<std::size_t>(n));
        return text;
    }
};

} // namespace

TEST(WindowsConsole, RedirectedStream_EscapeSequencesAndNoTitle) {
    Pipe pipe;
    const ConsoleWriteResult result = WriteConsoleLine("disk full", kConsoleLightRed, pipe.ends[1]);
    EXPECT_TRUE(result.complete);
    EXPECT_NE(SetConsoleTitle("GDRVM", pipe.ends[1]), std::error_code{});
    EXPECT_EQ(pipe.ReadAll(), "\x1b[91;49mdisk full\x1b[0m\n");
}

TEST(WindowsConsole, InAConsole_AttributesAndTitleReachTheScreen) {
    if (orvtest::InConsoleChild()) {
        ASSERT_TRUE(orvtest::ConsoleOnStandardOutput());
        EXPECT_TRUE(HasConsole());
        EXPECT_TRUE(AttachParentConsole());
        EXPECT_FALSE(SetConsoleTitle("GDRVM log"));
        const ConsoleWriteResult red = WriteConsoleLine("disk full", kConsoleLightRed);
        EXPECT_TRUE(red.complete);
        EXPECT_EQ(red.written, 10u) << "attributes, not escape sequences";
        WriteConsoleLine("alarm raised", kConsoleBlackOnRed);
        WriteConsoleLine("colours off", kConsoleLightRed, kStandardOutput, false);
        return;
    }
    const orvtest::TerminalScreen screen = orvtest::RunThisTestInPseudoConsole();
    EXPECT_EQ(screen.Title(), "GDRVM log");
    EXPECT_EQ(BlackAsOwnBackground(screen.ColoursOf("disk full")), "91/49") << screen.Output();
    EXPECT_EQ(screen.ColoursOf("alarm raised"), "30/101") << screen.Output();
    // The console's own colours came back after each line.
    EXPECT_EQ(BlackAsOwnBackground(screen.ColoursOf("colours off")), "39/49") << screen.Output();
}

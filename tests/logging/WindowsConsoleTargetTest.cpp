// The console target on Windows, in a pseudo console: each line in its level's
// colours as console attributes, the console's own colours after it, the title.
#include "TargetTestSupport.h"
#include "support/ConsoleChild.h"

#include <nwLogging/ConsoleTarget.h>

#include <gtest/gtest.h>

namespace nw = nwLogging;
using orvtest::BlackAsOwnBackground;
using targettest::FixedRecord;

TEST(WindowsConsoleTarget, InAConsole_LevelColoursThenTheConsolesOwn) {
    if (orvtest::InConsoleChild()) {
        ASSERT_TRUE(orvtest::ConsoleOnStandardOutput());
        nw::basic_console_target target("GDRVM log");
        ASSERT_TRUE(target.has_console());
        target.write(FixedRecord(nw::level_err), "red");
        target.write(FixedRecord(nw::level_fatal), "alarm");
        target.write(FixedRecord(nw::level_info), "plain");
        nw::basic_console_target colourless("", 80, 25, false, false);
        colourless.write(FixedRecord(nw::level_err), "uncoloured");
        return;
    }
    const orvtest::TerminalScreen screen = orvtest::RunThisTestInPseudoConsole();
    EXPECT_EQ(screen.Title(), "GDRVM log");
    EXPECT_EQ(BlackAsOwnBackground(screen.ColoursOf("08:05:07.125000 GDRVM [err] red")), "91/49")
        << screen.Output();
    EXPECT_EQ(screen.ColoursOf("08:05:07.125000 GDRVM [fatal] alarm"), "30/101") << screen.Output();
    EXPECT_EQ(BlackAsOwnBackground(screen.ColoursOf("08:05:07.125000 GDRVM [info] plain")), "97/49")
        << screen.Output();
    EXPECT_EQ(BlackAsOwnBackground(screen.ColoursOf("08:05:07.125000 GDRVM [err] uncoloured")),
              "39/49")
        << screen.Output();
}

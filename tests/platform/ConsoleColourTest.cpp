// Console attributes as ANSI colour sequences, the same on every system.
#include <platform/Console.h>

#include <gtest/gtest.h>

using namespace platform;

TEST(ConsoleTest, ColourSequence_LevelAttributes_MapToAnsi) {
    EXPECT_EQ(ConsoleColourSequence(kConsoleBlackOnRed), "\x1b[30;101m");
    EXPECT_EQ(ConsoleColourSequence(kConsoleLightRed), "\x1b[91;49m");
    EXPECT_EQ(ConsoleColourSequence(kConsoleYellow), "\x1b[93;49m");
    EXPECT_EQ(ConsoleColourSequence(kConsoleGrey), "\x1b[37;49m");
    EXPECT_EQ(ConsoleColourSequence(kConsoleBlackOnGrey), "\x1b[30;47m");
    EXPECT_EQ(ConsoleColourSequence(kConsoleWhite), "\x1b[97;49m");
}

TEST(ConsoleTest, ColourSequence_ChannelBits_AreSwappedIntoAnsiOrder) {
    EXPECT_EQ(ConsoleColourSequence(0x01), "\x1b[34;49m"); // blue
    EXPECT_EQ(ConsoleColourSequence(0x02), "\x1b[32;49m"); // green
    EXPECT_EQ(ConsoleColourSequence(0x04), "\x1b[31;49m"); // red
    EXPECT_EQ(ConsoleColourSequence(0x1B), "\x1b[96;44m"); // light cyan on blue
}

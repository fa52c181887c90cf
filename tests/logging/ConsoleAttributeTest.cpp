// The console target's colour for each level, the same on every system.
#include <nwLogging/ConsoleTarget.h>

#include <gtest/gtest.h>

namespace nw = nwLogging;

TEST(ConsoleTarget, ColourAttributePerLevel) {
    EXPECT_EQ(nw::basic_console_target::attribute_for(nw::level_fatal), 0xC0);
    EXPECT_EQ(nw::basic_console_target::attribute_for(nw::level_err), 0x0C);
    EXPECT_EQ(nw::basic_console_target::attribute_for(nw::level_warn), 0x0E);
    EXPECT_EQ(nw::basic_console_target::attribute_for(nw::level_trace), 0x07);
    EXPECT_EQ(nw::basic_console_target::attribute_for(nw::level_debug), 0x70);
    EXPECT_EQ(nw::basic_console_target::attribute_for(nw::level_info), 0x0F);
    EXPECT_EQ(nw::basic_console_target::attribute_for(64), 0x0F);
    EXPECT_EQ(nw::basic_console_target::attribute_for(0), 0x0F);
}

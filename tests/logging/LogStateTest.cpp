#include <nwLogging/Logger.h>

#include <gtest/gtest.h>

#include <stdexcept>

namespace nw = nwLogging;

namespace {

const uint32_t allLevels[] = {nw::level_fatal, nw::level_err,   nw::level_warn,
                              nw::level_info,  nw::level_trace, nw::level_debug};

template <typename Exception, typename Call> std::string thrown_text(Call&& call) {
    try {
        call();
    } catch (const Exception& e) {
        return e.what();
    }
    return "<nothing thrown>";
}

} // namespace

TEST(LevelMask, NewStateEnablesNothing) {
    nw::inner_logstate state;
    EXPECT_EQ(state.level_mask(), 0u);
    EXPECT_EQ(state.group_mask(), ~uint64_t{0});
    for (uint32_t level : allLevels)
        EXPECT_FALSE(state.enabled(level)) << level;
}

TEST(LevelMask, ErrMaskPassesOnlyFatalAndErr) {
    nw::inner_logstate state;
    state.set_level_mask(3); // the configuration word "err"
    EXPECT_TRUE(state.enabled(nw::level_fatal));
    EXPECT_TRUE(state.enabled(nw::level_err));
    EXPECT_FALSE(state.enabled(nw::level_warn));
    EXPECT_FALSE(state.enabled(nw::level_info));
    EXPECT_FALSE(state.enabled(nw::level_trace));
    EXPECT_FALSE(state.enabled(nw::level_debug));
}

TEST(LevelMask, EachConfigurationMaskPassesItsLevelAndTheMoreSevereOnes) {
    const uint32_t masks[] = {1, 3, 7, 15, 31, 63};
    for (int m = 0; m < 6; ++m) {
        nw::inner_logstate state;
        state.set_level_mask(masks[m]);
        EXPECT_EQ(state.level_mask(), masks[m]);
        for (int l = 0; l < 6; ++l)
            EXPECT_EQ(state.enabled(allLevels[l]), l <= m) << masks[m] << " " << allLevels[l];
    }
}

TEST(LevelMask, LevelZeroIsNeverEnabled) {
    nw::inner_logstate state;
    state.set_level_mask(0xFFFFFFFF);
    EXPECT_FALSE(state.enabled(0));
}

TEST(LevelMask, MaskIsReplacedNotCombined) {
    nw::inner_logstate state;
    state.set_level_mask(63);
    state.set_level_mask(1);
    EXPECT_FALSE(state.enabled(nw::level_err));
    EXPECT_TRUE(state.enabled(nw::level_fatal));
}

TEST(GroupMask, RecordWithoutGroupPassesAnyNonZeroGroupMask) {
    nw::inner_logstate state;
    state.set_level_mask(63);
    state.set_group_mask(1);
    EXPECT_TRUE(state.enabled(nw::level_err, nw::no_group));
    state.set_group_mask(0);
    EXPECT_FALSE(state.enabled(nw::level_err, nw::no_group));
}

TEST(GroupMask, GroupPassesOnlyWhenItsBitsMeetTheMask) {
    nw::inner_logstate state;
    state.set_level_mask(63);
    state.set_group_mask(0x4);
    EXPECT_TRUE(state.enabled(nw::level_err, 0x4));
    EXPECT_TRUE(state.enabled(nw::level_err, 0x6));
    EXPECT_FALSE(state.enabled(nw::level_err, 0x2));
    EXPECT_EQ(state.group_mask(), 0x4u);
}

TEST(GroupMask, BothTestsMustPass) {
    nw::inner_logstate state;
    state.set_level_mask(nw::level_err);
    state.set_group_mask(0x4);
    EXPECT_FALSE(state.enabled(nw::level_warn, 0x4));
    EXPECT_FALSE(state.enabled(nw::level_err, 0x8));
}

TEST(Groups, RegisteredGroupIsFoundByIdAndByName) {
    nw::inner_logstate state;
    state.register_group(0x4, "acq");
    state.register_group(0x8, "cfg");
    EXPECT_EQ(state.group_name(0x4), "acq");
    EXPECT_EQ(state.group_name(0x8), "cfg");
    EXPECT_EQ(state.group_id("acq"), 0x4u);
    EXPECT_EQ(state.group_id("cfg"), 0x8u);
}

TEST(Groups, RegisteringAgainRenamesTheGroup) {
    nw::inner_logstate state;
    state.register_group(0x4, "acq");
    state.register_group(0x4, "acquisition");
    EXPECT_EQ(state.group_name(0x4), "acquisition");
    EXPECT_THROW(state.group_id("acq"), std::invalid_argument);
}

TEST(Groups, UnregisteredIdIsRefused) {
    nw::inner_logstate state;
    state.register_group(0x4, "acq");
    EXPECT_EQ(thrown_text<std::invalid_argument>([&] { state.group_name(0x8); }),
              "Group id not registered");
}

TEST(Groups, AllOnesIdIsInvalid) {
    nw::inner_logstate state;
    EXPECT_EQ(thrown_text<std::invalid_argument>([&] { state.group_name(nw::no_group); }),
              "Invalid group id");
    EXPECT_EQ(thrown_text<std::invalid_argument>([&] { state.register_group(nw::no_group, "x"); }),
              "Invalid group id");
}

TEST(Groups, UnregisteredNameIsRefusedAsInvalidArgument) {
    nw::inner_logstate state;
    state.register_group(0x4, "acq");
    EXPECT_EQ(thrown_text<std::invalid_argument>([&] { state.group_id("ACQ"); }),
              "Invalid group ID: not registered");
    EXPECT_EQ(thrown_text<std::invalid_argument>([&] { state.group_id(""); }),
              "Invalid group ID: not registered");
}

// Environment expansion of path values: both reference forms, all or nothing.
#include "support/ScopedEnvironmentVariable.h"

#include "system/DriverConfiguration.h"

#include <gtest/gtest.h>

namespace {

class EnvironmentExpansion : public testing::Test {
protected:
    ScopedEnvironmentVariable data_{"ORV_X_DATA", std::string("C:\\Data\\")};
    ScopedEnvironmentVariable name_{"ORV_X_NAME", std::string("cam")};
    ScopedEnvironmentVariable unset_{"ORV_X_UNSET", std::nullopt};
    ScopedEnvironmentVariable empty_{"ORV_X_EMPTY", std::string()};
};

} // namespace

TEST_F(EnvironmentExpansion, TextWithoutReferences_IsUnchanged) {
    EXPECT_EQ(ExpandEnvironment("/plain/path.ini"), "/plain/path.ini");
    EXPECT_EQ(ExpandEnvironment(""), "");
    EXPECT_EQ(ExpandEnvironment("a $ ( b"), "a $ ( b");
}

TEST_F(EnvironmentExpansion, BothForms_AreReplacedByTheValue) {
    EXPECT_EQ(ExpandEnvironment("%ORV_X_DATA%Drivers\\ORSisoMe.ini"),
              "C:\\Data\\Drivers\\ORSisoMe.ini");
    EXPECT_EQ(ExpandEnvironment("$(ORV_X_DATA)x"), "C:\\Data\\x");
    EXPECT_EQ(ExpandEnvironment("%ORV_X_DATA%$(ORV_X_NAME)_%ORV_X_NAME%.xml"),
              "C:\\Data\\cam_cam.xml");
}

TEST_F(EnvironmentExpansion, TheEarlierOpenerDecides) {
    // "$(" first: the name ends at ")", so the '%' inside it is part of the name.
    EXPECT_EQ(ExpandEnvironment("$(ORV_X_NAME)%ORV_X_NAME%"), "camcam");
    EXPECT_EQ(ExpandEnvironment("$(ORV%X)"), "");
}

TEST_F(EnvironmentExpansion, UnsetOrEmptyVariableAnywhere_EmptiesEverything) {
    EXPECT_EQ(ExpandEnvironment("%ORV_X_DATA%a%ORV_X_UNSET%b"), "");
    EXPECT_EQ(ExpandEnvironment("$(ORV_X_UNSET)"), "");
    EXPECT_EQ(ExpandEnvironment("x%ORV_X_EMPTY%y"), "");
}

TEST_F(EnvironmentExpansion, AdjacentPercentSigns_EmptyEverything) {
    EXPECT_EQ(ExpandEnvironment("100%%"), "");
    EXPECT_EQ(ExpandEnvironment("%%ORV_X_NAME%"), "");
}

TEST_F(EnvironmentExpansion, MissingClosingCharacter_EmptiesEverything) {
    EXPECT_EQ(ExpandEnvironment("%ORV_X_NAME%/50%"), "");
    EXPECT_EQ(ExpandEnvironment("$(ORV_X_NAME"), "");
}

TEST_F(EnvironmentExpansion, ReferencesInsideValues_AreExpandedAgain) {
    ScopedEnvironmentVariable outer("ORV_X_OUTER", std::string("%ORV_X_INNER%/b"));
    ScopedEnvironmentVariable inner("ORV_X_INNER", std::string("$(ORV_X_NAME)/a"));
    EXPECT_EQ(ExpandEnvironment("%ORV_X_OUTER%"), "cam/a/b");

    inner.Set(std::string("%ORV_X_UNSET%"));
    EXPECT_EQ(ExpandEnvironment("x%ORV_X_OUTER%"), "") << "a failure deep down empties all";
}

TEST_F(EnvironmentExpansion, SelfReference_CountsAsUnsetInsteadOfNeverEnding) {
    ScopedEnvironmentVariable self("ORV_X_SELF", std::string("a%ORV_X_SELF%"));
    EXPECT_EQ(ExpandEnvironment("%ORV_X_SELF%"), "");
    ScopedEnvironmentVariable ping("ORV_X_PING", std::string("$(ORV_X_PONG)"));
    ScopedEnvironmentVariable pong("ORV_X_PONG", std::string("%ORV_X_PING%"));
    EXPECT_EQ(ExpandEnvironment("x%ORV_X_PING%"), "");
}

TEST_F(EnvironmentExpansion, SameVariableTwice_IsNotACycle) {
    ScopedEnvironmentVariable twice("ORV_X_TWICE", std::string("%ORV_X_NAME%-%ORV_X_NAME%"));
    EXPECT_EQ(ExpandEnvironment("%ORV_X_TWICE%+%ORV_X_TWICE%"), "cam-cam+cam-cam");
}

TEST_F(EnvironmentExpansion, LongValues_AreUsedWhole) {
    for (size_t length : {259u, 260u, 261u, 4000u}) {
        const std::string value(length, 'v');
        ScopedEnvironmentVariable long_("ORV_X_LONG", value);
        EXPECT_EQ(ExpandEnvironment("<%ORV_X_LONG%>"), "<" + value + ">") << length;
    }
}

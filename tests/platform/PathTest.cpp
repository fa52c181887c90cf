#include <platform/Path.h>

#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <fstream>

using namespace platform;

TEST(PathTest, ToNativePath_EitherSeparator_BecomesTheSystemsOne) {
#ifdef _WIN32
    EXPECT_EQ(kNativePathSeparator, '\\');
    EXPECT_EQ(ToNativePath("C:/Data\\Drivers/ORSisoMe.ini"), "C:\\Data\\Drivers\\ORSisoMe.ini");
#else
    EXPECT_EQ(kNativePathSeparator, '/');
    EXPECT_EQ(ToNativePath("C:\\Data\\Drivers\\ORSisoMe.ini"), "C:/Data/Drivers/ORSisoMe.ini");
    EXPECT_EQ(ToNativePath("/opt/siso\\bin/siso_genicam.dll"), "/opt/siso/bin/siso_genicam.dll");
#endif
    EXPECT_EQ(ToNativePath(""), "");
}

TEST(PathTest, ToNativePath_IniStylePath_OpensRealFile) {
    // A directory plus "Drivers\ORSisoMe.ini" as a configuration file writes it.
    orvtest::TempDir dir;
    orvtest::WriteFileText(dir.File("ORSisoMe.ini"), "[System]\n");
    std::string written = dir.path() + "\\ORSisoMe.ini";
    std::ifstream in(ToNativePath(written));
    std::string line;
    ASSERT_TRUE(std::getline(in, line));
    EXPECT_EQ(line, "[System]");
}

// Typed lookups of the configuration tree and the default template.
#include "support/ScopedEnvironmentVariable.h"

#include "system/DriverConfiguration.h"

#include <boost/property_tree/ini_parser.hpp>

#include <gtest/gtest.h>

#include <sstream>

namespace {

/// A configuration read from INI text the way the system reads its file.
CDriverConfiguration FromIni(const std::string& text) {
    std::istringstream in(text);
    boost::property_tree::ptree tree;
    boost::property_tree::ini_parser::read_ini(in, tree);
    return CDriverConfiguration(std::move(tree));
}

/// A configuration whose value is stored exactly as given (no INI trimming).
CDriverConfiguration WithValue(const std::string& value) {
    boost::property_tree::ptree tree;
    tree.put("BOARD0.key", value);
    return CDriverConfiguration(std::move(tree));
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

} // namespace

TEST(DriverConfigurationLookup, MissingSectionOrKey_IsEmpty) {
    const CDriverConfiguration configuration = FromIni("[BOARD0]\nscan=true\n");
    EXPECT_FALSE(configuration.Text("BOARD1.scan"));
    EXPECT_FALSE(configuration.Boolean("BOARD0.Scan")) << "keys are case-sensitive";
    EXPECT_FALSE(configuration.Int32("BOARD0.discovery"));
    EXPECT_FALSE(CDriverConfiguration().Text("BOARD0.scan"));
    EXPECT_TRUE(CDriverConfiguration().Empty());
}

TEST(DriverConfigurationLookup, Text_IsTheTrimmedValue) {
    const CDriverConfiguration configuration = FromIni("[BOARD0_DMA0]\nRotateImage = 0 \n");
    EXPECT_EQ(configuration.Text("BOARD0_DMA0.RotateImage"), std::string("0"));
    EXPECT_EQ(configuration.UInt32("BOARD0_DMA0.RotateImage"), 0u);
}

TEST(DriverConfigurationLookup, Numbers_AllowTrailingWhiteSpaceOnly) {
    EXPECT_EQ(FromIni("[BOARD0]\ndiscovery = 5000 \n").Int32("BOARD0.discovery"), 5000);
    EXPECT_EQ(WithValue(" 5000 ").Int32("BOARD0.key"), 5000);
    EXPECT_EQ(WithValue("5000\t\n").UInt32("BOARD0.key"), 5000u);
    EXPECT_EQ(WithValue("-40").Int32("BOARD0.key"), -40);
    EXPECT_EQ(WithValue("+7").Int32("BOARD0.key"), 7);
    EXPECT_FALSE(FromIni("[BOARD0]\ndiscovery=10 s\n").Int32("BOARD0.discovery"));
    EXPECT_FALSE(WithValue("10 20").Int32("BOARD0.key")) << "a second number";
    EXPECT_FALSE(WithValue("s10").Int32("BOARD0.key"));
    EXPECT_FALSE(WithValue("0x10").UInt32("BOARD0.key"));
    EXPECT_FALSE(WithValue("1.5").Int32("BOARD0.key"));
    EXPECT_FALSE(WithValue("").Int32("BOARD0.key"));
}

TEST(DriverConfigurationLookup, Numbers_OutsideTheTypeAreEmpty) {
    EXPECT_EQ(WithValue("2147483647").Int32("BOARD0.key"), 2147483647);
    EXPECT_EQ(WithValue("-2147483648").Int32("BOARD0.key"), -2147483647 - 1);
    EXPECT_FALSE(WithValue("2147483648").Int32("BOARD0.key"));
    EXPECT_EQ(WithValue("4294967295").UInt32("BOARD0.key"), 4294967295u);
    EXPECT_FALSE(WithValue("4294967296").UInt32("BOARD0.key"));
    EXPECT_FALSE(WithValue("99999999999999999999999").Int32("BOARD0.key"));
}

TEST(DriverConfigurationLookup, NegativeUnsigned_IsEmptyRatherThanWrapped) {
    EXPECT_FALSE(WithValue("-1").UInt32("BOARD0.key"));
    EXPECT_FALSE(FromIni("[BOARD0]\ndmas=-1\n").UInt32("BOARD0.dmas"));
    EXPECT_EQ(WithValue("-0").UInt32("BOARD0.key"), 0u);
}

TEST(DriverConfigurationLookup, Booleans_NumberFirstThenLowerCaseWords) {
    EXPECT_EQ(WithValue("0").Boolean("BOARD0.key"), false);
    EXPECT_EQ(WithValue("1").Boolean("BOARD0.key"), true);
    EXPECT_EQ(WithValue("1 ").Boolean("BOARD0.key"), true);
    EXPECT_EQ(WithValue("true").Boolean("BOARD0.key"), true);
    EXPECT_EQ(WithValue("false").Boolean("BOARD0.key"), false);
    EXPECT_EQ(WithValue("false \t").Boolean("BOARD0.key"), false);
    EXPECT_FALSE(FromIni("[BOARD0]\nscan=yes\n").Boolean("BOARD0.scan"));
    EXPECT_FALSE(WithValue("True").Boolean("BOARD0.key"));
    EXPECT_FALSE(WithValue("TRUE").Boolean("BOARD0.key"));
    EXPECT_FALSE(WithValue("2").Boolean("BOARD0.key"));
    EXPECT_FALSE(WithValue("1x").Boolean("BOARD0.key"));
    EXPECT_FALSE(WithValue("truex").Boolean("BOARD0.key"));
    EXPECT_FALSE(WithValue("").Boolean("BOARD0.key"));
}

TEST(DriverConfigurationLookup, Path_IsExpanded_AndAnUnsetVariableEmptiesIt) {
    ScopedEnvironmentVariable data("ORV_TEST_DATA", std::string("/srv/data/"));
    ScopedEnvironmentVariable unset("ORV_TEST_UNSET", std::nullopt);
    const CDriverConfiguration configuration =
        FromIni("[BOARD0]\ninifilemcf=%ORV_TEST_DATA%Drivers\\a.mcf\n"
                "layout=$(ORV_TEST_UNSET)\\l.xml\n");
    EXPECT_EQ(configuration.Path("BOARD0.inifilemcf"), std::string("/srv/data/Drivers\\a.mcf"));
    EXPECT_EQ(configuration.Path("BOARD0.layout"), std::string()) << "present, but empty";
    EXPECT_FALSE(configuration.Path("BOARD0.camxml"));
    EXPECT_EQ(configuration.Text("BOARD0.layout"), std::string("$(ORV_TEST_UNSET)\\l.xml"));
}

TEST(DriverConfigurationTemplate, HasTheDocumentedShape) {
    const std::string text = CDriverConfiguration::TemplateText();
    const std::vector<std::string> lines = Lines(text);
    ASSERT_EQ(lines.size(), 80u);
    EXPECT_EQ(lines.front(), "; INI for ORSiSoME.xvd");
    EXPECT_EQ(lines[78], ";dmaxmlsave=%ORVDATA%\\Drivers\\downloaded_dma.xml");
    EXPECT_EQ(lines[79], "") << "the last line is followed by an empty line";
    EXPECT_EQ(text.substr(text.size() - 6), ".xml\n\n");
    EXPECT_EQ(text.find('\r'), std::string::npos) << "line ends are the writer's business";
    EXPECT_EQ(lines[53], "; 0\tRotate 0 degree");
    EXPECT_EQ(lines[54], "; 1\tRotate 90 degree");
    EXPECT_EQ(lines[55], "; 2\tRotate 180 degree");
    EXPECT_EQ(lines[56], "; 3\tRotate 270 degree");
    EXPECT_EQ(lines[57], "RotateImage = 0");
    EXPECT_NE(text.find("link aggregation  with multiple cameras\n"), std::string::npos);
    EXPECT_NE(text.find("\n;Path to  a custom camera xml\n"), std::string::npos);
}

TEST(DriverConfigurationTemplate, ParsesIntoTheDocumentedSectionsAndKeys) {
    const CDriverConfiguration configuration = FromIni(CDriverConfiguration::TemplateText());
    const boost::property_tree::ptree& tree = configuration.Tree();
    std::vector<std::string> sections;
    for (const auto& section : tree)
        sections.push_back(section.first);
    // [System] holds no key and is dropped by the reader.
    EXPECT_EQ(sections, (std::vector<std::string>{"BOARD0", "BOARD0_DMA0"}));
    EXPECT_EQ(configuration.Text("BOARD0.inifilemcf"), std::string("%ORVDATA%\\Drivers\\your.mcf"));
    EXPECT_EQ(configuration.Boolean("BOARD0.scan"), true);
    EXPECT_EQ(configuration.Int32("BOARD0.cxp_speed"), 56);
    EXPECT_EQ(configuration.Int32("BOARD0.discovery"), 10000);
    EXPECT_EQ(tree.get_child("BOARD0").size(), 4u);
    EXPECT_EQ(configuration.UInt32("BOARD0_DMA0.framebuffers"), 3u);
    EXPECT_EQ(configuration.Boolean("BOARD0_DMA0.invertdim"), true);
    EXPECT_EQ(configuration.UInt32("BOARD0_DMA0.RotateImage"), 0u);
    EXPECT_EQ(configuration.Text("BOARD0_DMA0.camera_index"), std::string("0"));
    EXPECT_EQ(tree.get_child("BOARD0_DMA0").size(), 4u);
}

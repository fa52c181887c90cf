// The repair of old runtimes' grabber descriptions, rule by rule on small texts.
#include "nodemap/XmlRepair.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace {

/// Repairs `text` (which holds a Category, so rule 36 stays out of the way).
std::string Repaired(const std::string& text) {
    CXmlRepair::Result result = CXmlRepair::Apply("<Category/>" + text);
    EXPECT_FALSE(result.categoryAdded);
    return result.text.substr(std::string("<Category/>").size());
}

std::string HighLow(const std::string& parameter) {
    return "<EnumEntry Name=\"HIGH\"><Value>1</Value></EnumEntry><EnumEntry "
           "Name=\"LOW\"><Value>0</Value></EnumEntry><pValue>" +
           parameter + "</pValue>";
}

TEST(XmlRepair, ReplaceAll_ContinuesAfterTheInsertedText) {
    std::string text = "aXa";
    EXPECT_EQ(CXmlRepair::ReplaceAll(text, "a", "aa"), 2u);
    EXPECT_EQ(text, "aaXaa");
    std::string none = "abc";
    EXPECT_EQ(CXmlRepair::ReplaceAll(none, "", "x"), 0u);
    EXPECT_EQ(none, "abc");
}

TEST(XmlRepair, ReplaceAll_ReplacementContainingTheSearchIsNotSearchedAgain) {
    std::string text = "<Inc>0</Inc>x<Inc>0</Inc>";
    EXPECT_EQ(CXmlRepair::ReplaceAll(text, "<Inc>0</Inc>", "<!-- <Inc>0</Inc> -->"), 2u);
    EXPECT_EQ(text, "<!-- <Inc>0</Inc> -->x<!-- <Inc>0</Inc> -->");
}

TEST(XmlRepair, LargeDescription_EveryMatchReplaced) {
    // A grabber description of several megabytes with many thousands of limits.
    std::string text;
    for (int i = 0; i < 50000; ++i)
        text += "<Integer Name=\"P|" + std::to_string(i) + "\"><Min>0</Min><Max>9</Max></Integer>";
    const CXmlRepair::Result result = CXmlRepair::Apply("<Category/>" + text);
    size_t comments = 0;
    for (size_t at = result.text.find("<!-- comment <Min>0</Min> -->"); at != std::string::npos;
         at = result.text.find("<!-- comment <Min>0</Min> -->", at + 1))
        ++comments;
    EXPECT_EQ(comments, 50000u);
    EXPECT_EQ(result.text.find('|'), std::string::npos);
}

TEST(XmlRepair, Rule1_IncZeroCommentedOnceEach) {
    EXPECT_EQ(Repaired("<Inc>0</Inc><Inc>0</Inc>"),
              "<!-- comment <Inc>0</Inc> --><!-- comment <Inc>0</Inc> -->");
    EXPECT_EQ(Repaired("<Inc>1</Inc>"), "<Inc>1</Inc>");
}

TEST(XmlRepair, Rule2_UnboundInvalidator) {
    EXPECT_EQ(Repaired("<pInvalidator>unbound</pInvalidator>"),
              "<!-- comment <pInvalidator>unbound</pInvalidator> -->");
}

TEST(XmlRepair, Rules3And4_EntryNamesStartingWithADigit) {
    EXPECT_EQ(Repaired("<EnumEntry Name=\"0_Off\"><EnumEntry Name=\"1_On\"><EnumEntry Name=\"2\">"),
              "<EnumEntry Name=\"NAME0_Off\"><EnumEntry Name=\"NAME1_On\"><EnumEntry Name=\"2\">");
}

TEST(XmlRepair, Rule5_EveryVerticalBarBecomesAnUnderscore) {
    EXPECT_EQ(Repaired("a|b||c"), "a_b__c");
}

TEST(XmlRepair, Rules6And7_VersionsWithAFraction) {
    EXPECT_EQ(Repaired("MajorVersion=\"1.0\" MinorVersion=\"1.0\" SubMinorVersion=\"1.0\""),
              "MajorVersion=\"1\" MinorVersion=\"1\" SubMinorVersion=\"1\"");
}

TEST(XmlRepair, Rule8_DataValidGetsItsEntries) {
    EXPECT_EQ(Repaired("<pValue>FG_USEDVAL</pValue>"),
              "<EnumEntry Name=\"DVAL_Yes\"><Value>1</Value></EnumEntry><EnumEntry "
              "Name=\"DVAL_No\"><Value>0</Value></EnumEntry><pValue>FG_USEDVAL</pValue>");
}

TEST(XmlRepair, Rule9_LineTriggerSourceGetsItsEntries) {
    EXPECT_EQ(Repaired("<pValue>FG_LINETRIGGERINSRC</pValue>"),
              "<EnumEntry Name=\"SRC0\"><Value>0</Value></EnumEntry><EnumEntry "
              "Name=\"SRC1\"><Value>1</Value></EnumEntry><pValue>FG_LINETRIGGERINSRC</pValue>");
}

TEST(XmlRepair, Rules10To21_TwoLevelParametersGetHighAndLow) {
    for (const char* parameter :
         {"FG_LINETRIGGERINPOLARITY", "FG_IMGTRIGGERON", "FG_EXSYNCON", "FG_EXSYNCPOLARITY",
          "FG_IMGTRIGGERINSRC", "FG_FLASH_POLARITY", "FG_IMGTRIGGERINPOLARITY",
          "FG_SETSOFTWARETRIGGER", "FG_FLASHON", "FG_SENDSOFTWARETRIGGER", "FG_SHAFTENCODERINSRC",
          "FG_SHAFTENCODERON"}) {
        EXPECT_EQ(Repaired(std::string("<pValue>") + parameter + "</pValue>"), HighLow(parameter))
            << parameter;
    }
    EXPECT_EQ(Repaired("<pValue>FG_OTHER</pValue>"), "<pValue>FG_OTHER</pValue>");
}

TEST(XmlRepair, Rule22_EmptyAccessModeIsWriteOnly) {
    EXPECT_EQ(Repaired("<AccessMode></AccessMode>"), "<AccessMode>WO</AccessMode>");
}

TEST(XmlRepair, Rule23_EmptyRootCategoryGetsTheGeneratorFeatures) {
    // This text has its own Category, so rule 36 does not run.
    const CXmlRepair::Result result =
        CXmlRepair::Apply("<Category Name='Root' NameSpace='Standard' >\n</Category>");
    EXPECT_EQ(result.text,
              "<Category Name='Root' NameSpace='Standard' ><pFeature>ExampleCategory</pFeature>"
              "</Category><Category Name='ExampleCategory'><pFeature>FG_GEN_FREQ</pFeature>"
              "<pFeature>FG_GEN_ENABLE</pFeature></Category>");
    EXPECT_FALSE(result.categoryAdded);
}

TEST(XmlRepair, Rule24_KneeLutSelector) {
    EXPECT_EQ(Repaired("<pSelect>FG_KNEE_LUT_Reg</pSelect>"),
              "<!-- <pSelect>FG_KNEE_LUT_Reg</pSelect> -->");
}

TEST(XmlRepair, Rules25To28_MinAndMaxCommentedOut) {
    EXPECT_EQ(Repaired("<Min>0</Min><Max>9</Max>"),
              "<!-- comment <Min>0</Min> --><!-- comment <Max>9</Max> -->");
}

TEST(XmlRepair, Rules29To35_EmptyEnumerationTypes) {
    for (const char* name :
         {"FG_SENSORREADOUT", "FG_LINESHADING_SUB_ENABLE", "FG_LINESHADING_MULT_ENABLE",
          "FG_AUTO_SHADING_WIDTH", "FG_LINESHADING_LOAD_FROM_FILE", "FG_CLEAR_SHADINGDATA",
          "FG_SWAPENDIAN"}) {
        const std::string n = name;
        EXPECT_EQ(Repaired("<Enumeration Name=\"" + n + "_EnumerationType\">\n<pValue>" + n +
                           "</pValue>\n</Enumeration>"),
                  "<!-- Enumeration Name=" + n + "_EnumerationType empty -->")
            << name;
    }
    // Without the exact line breaks nothing matches.
    const std::string oneLine = "<Enumeration Name=\"FG_SWAPENDIAN_EnumerationType\"><pValue>"
                                "FG_SWAPENDIAN</pValue></Enumeration>";
    EXPECT_EQ(Repaired(oneLine), oneLine);
}

TEST(XmlRepair, Rule36_NoCategoryAddsTheRootBeforeTheDevicePort) {
    const CXmlRepair::Result result = CXmlRepair::Apply(
        "<RegisterDescription><Port Name=\"Device\"></Port></RegisterDescription>");
    EXPECT_TRUE(result.categoryAdded);
    EXPECT_EQ(result.text,
              "<RegisterDescription><Category Name='Root' NameSpace='Standard' ><pFeature>"
              "ExampleCategory</pFeature></Category><Category Name='ExampleCategory'><pFeature>"
              "FG_CAMSTATUS</pFeature></Category><Port Name=\"Device\"></Port>"
              "</RegisterDescription>");
}

TEST(XmlRepair, Rule36_WithoutAPortElementStillReportsTheRepair) {
    const CXmlRepair::Result result = CXmlRepair::Apply("<RegisterDescription/>");
    EXPECT_TRUE(result.categoryAdded);
    EXPECT_EQ(result.text, "<RegisterDescription/>");
}

TEST(XmlRepair, Rule36_AnyCategoryTextKeepsItOut) {
    const std::string text = "<!-- SomeCategory --><Port Name=\"Device\"></Port>";
    const CXmlRepair::Result result = CXmlRepair::Apply(text);
    EXPECT_FALSE(result.categoryAdded);
    EXPECT_EQ(result.text, text);
}

TEST(XmlRepair, CommentsOfTheDescription_AreLeftAsTheyAre) {
    // A commented-out block: comment markers written into it would nest comments.
    const std::string block = "<!-- <Integer Name=\"A|B\"><Min>1</Min><Inc>0</Inc></Integer> -->";
    EXPECT_EQ(Repaired("<Min>0</Min>" + block + "<Max>9</Max>|"),
              "<!-- comment <Min>0</Min> -->" + block + "<!-- comment <Max>9</Max> -->_");
    // A comment never closed runs to the end.
    EXPECT_EQ(Repaired("<Inc>0</Inc><!-- <Inc>0</Inc>"),
              "<!-- comment <Inc>0</Inc> --><!-- <Inc>0</Inc>");
    // Rule 36 does not write into a comment either.
    const CXmlRepair::Result result =
        CXmlRepair::Apply("<!-- <Port Name=\"Device\"></Port> --><Port Name=\"Device\"></Port>");
    EXPECT_TRUE(result.categoryAdded);
    EXPECT_EQ(result.text.rfind("<!-- <Port Name=\"Device\"></Port> --><Category Name='Root'", 0),
              0u);
}

TEST(XmlRepair, Order_EarlierRulesSeeTheOriginalAndLaterOnesTheResult) {
    // Rule 5 turns the bar into an underscore before rule 8 looks for its text,
    // and rule 25 comments the <Min> that rule 1 left alone.
    EXPECT_EQ(Repaired("<pValue>FG_USEDVAL</pValue>|<Min>1</Min>"),
              "<EnumEntry Name=\"DVAL_Yes\"><Value>1</Value></EnumEntry><EnumEntry "
              "Name=\"DVAL_No\"><Value>0</Value></EnumEntry><pValue>FG_USEDVAL</pValue>_"
              "<!-- comment <Min>1</Min> -->");
}

} // namespace

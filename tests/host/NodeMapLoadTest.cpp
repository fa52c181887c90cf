// Loading GenICam descriptions into node maps.

#include "GenApiTestSupport.h"

#include <ORV/ResultCodes.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <unistd.h>

using hosttest::CameraDescription;
using hosttest::NodeMapTest;

namespace {

using NodeMapLoad = NodeMapTest;

TEST_F(NodeMapLoad, ValidDescription_LoadsAndDeclaresItsNodes) {
    ASSERT_EQ(ORGenApi_LoadDescription(nodeMap_, CameraDescription()), 0);
    EXPECT_EQ(ORGenApi_HasNode(nodeMap_, "Width"), 1);
    EXPECT_EQ(ORGenApi_HasNode(nodeMap_, "WidthReg"), 1);
    EXPECT_EQ(ORGenApi_HasNode(nodeMap_, "Device"), 1);
    EXPECT_EQ(ORGenApi_HasNode(nodeMap_, "Root"), 1);
    EXPECT_EQ(ORGenApi_HasNode(nodeMap_, "Height"), 0);
    // Element texts are not node names.
    EXPECT_EQ(ORGenApi_HasNode(nodeMap_, "RW"), 0);
}

TEST_F(NodeMapLoad, RootWithPrefix_IsJudgedByItsLocalName) {
    const char* xml = R"(<g:RegisterDescription xmlns:g="urn:x"><g:Integer Name="Gain"/>)"
                      R"(</g:RegisterDescription>)";
    ASSERT_EQ(ORGenApi_LoadDescription(nodeMap_, xml), 0);
    EXPECT_EQ(ORGenApi_HasNode(nodeMap_, "Gain"), 1);
}

TEST_F(NodeMapLoad, MalformedXml_Fails) {
    EXPECT_NE(ORGenApi_LoadDescription(nodeMap_, "<RegisterDescription><Integer Name=\"A\">"), 0);
    EXPECT_NE(ORGenApi_LoadDescription(nodeMap_, "<RegisterDescription></Other>"), 0);
    EXPECT_NE(ORGenApi_LoadDescription(nodeMap_, "not xml at all"), 0);
    EXPECT_NE(ORGenApi_LoadDescription(nodeMap_, ""), 0);
    EXPECT_NE(ORGenApi_LoadDescription(
                  nodeMap_, "<RegisterDescription><A Name='x' Name='y'/></RegisterDescription>"),
              0);
}

TEST_F(NodeMapLoad, WrongRootElement_Fails) {
    EXPECT_NE(
        ORGenApi_LoadDescription(nodeMap_, "<Description><Integer Name=\"A\"/></Description>"), 0);
    EXPECT_NE(ORGenApi_LoadDescription(nodeMap_, "<Wrapper><RegisterDescription/></Wrapper>"), 0);
    EXPECT_EQ(ORGenApi_HasNode(nodeMap_, "A"), 0);
}

TEST_F(NodeMapLoad, FailedLoad_KeepsThePreviousDescription) {
    ASSERT_EQ(ORGenApi_LoadDescription(nodeMap_, CameraDescription()), 0);
    EXPECT_NE(ORGenApi_LoadDescription(nodeMap_, "<RegisterDescription>"), 0);
    EXPECT_EQ(ORGenApi_HasNode(nodeMap_, "Width"), 1);
}

TEST_F(NodeMapLoad, SecondLoad_ReplacesTheDescription) {
    ASSERT_EQ(ORGenApi_LoadDescription(nodeMap_, CameraDescription()), 0);
    ASSERT_EQ(ORGenApi_LoadDescription(
                  nodeMap_, "<RegisterDescription><Float Name=\"Gain\"/></RegisterDescription>"),
              0);
    EXPECT_EQ(ORGenApi_HasNode(nodeMap_, "Gain"), 1);
    EXPECT_EQ(ORGenApi_HasNode(nodeMap_, "Width"), 0);
}

TEST_F(NodeMapLoad, NullArgumentsOrForeignHandle_Fail) {
    EXPECT_NE(ORGenApi_LoadDescription(nodeMap_, nullptr), 0);
    EXPECT_NE(ORGenApi_LoadDescription(nullptr, CameraDescription()), 0);
    ORHandle other = MakeTracked("not a node map");
    EXPECT_NE(ORGenApi_LoadDescription(other, CameraDescription()), 0);
    EXPECT_EQ(ORGenApi_HasNode(other, "Width"), 0);
    ORBase_Release(other);
    EXPECT_EQ(ORGenApi_HasNode(nodeMap_, nullptr), 0);
    EXPECT_EQ(ORGenApi_HasNode(nullptr, "Width"), 0);
    EXPECT_NE(ORGenApi_CreateNodeMap(nullptr), 0);
}

TEST_F(NodeMapLoad, InternalEntity_ContentIsSeen) {
    // Control for the external-entity test below: entity contents the parser
    // has are walked, so a loaded external file would show.
    const char* xml =
        R"(<!DOCTYPE RegisterDescription [<!ENTITY inner "<Integer Name='Inner'/>">]>)"
        R"(<RegisterDescription><Group>&inner;</Group></RegisterDescription>)";
    ASSERT_EQ(ORGenApi_LoadDescription(nodeMap_, xml), 0);
    EXPECT_EQ(ORGenApi_HasNode(nodeMap_, "Inner"), 1);
}

TEST_F(NodeMapLoad, ExternalEntity_NeverReadsTheLocalFile) {
    char path[] = "/tmp/orv-host-xxe-XXXXXX";
    const int descriptor = mkstemp(path);
    ASSERT_GE(descriptor, 0);
    close(descriptor);
    std::ofstream(path) << "<Integer Name=\"Leaked\"/>";
    const std::string xml =
        std::string("<!DOCTYPE RegisterDescription [<!ENTITY x SYSTEM \"file://") + path +
        "\">]><RegisterDescription><Group>&x;</Group>" +
        "<Integer Name=\"Own\"/></RegisterDescription>";
    const int32_t result = ORGenApi_LoadDescription(nodeMap_, xml.c_str());
    std::remove(path);
    if (result == 0) {
        EXPECT_EQ(ORGenApi_HasNode(nodeMap_, "Own"), 1);
    }
    EXPECT_EQ(ORGenApi_HasNode(nodeMap_, "Leaked"), 0);
}

TEST_F(NodeMapLoad, EntityExpansionBomb_IsRefused) {
    std::string xml = "<!DOCTYPE RegisterDescription [<!ENTITY a \"aaaaaaaaaa\">";
    const char* names = "abcdefghij";
    for (int level = 1; level < 10; ++level) {
        xml += std::string("<!ENTITY ") + names[level] + " \"";
        for (int copy = 0; copy < 10; ++copy)
            xml += std::string("&") + names[level - 1] + ";";
        xml += "\">";
    }
    xml += "]><RegisterDescription><Group>&j;</Group></RegisterDescription>";
    EXPECT_NE(ORGenApi_LoadDescription(nodeMap_, xml.c_str()), 0);
}

} // namespace

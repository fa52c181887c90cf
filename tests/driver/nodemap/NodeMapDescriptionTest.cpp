// Where node-map descriptions come from: the grabber (repaired on old runtimes),
// the cameras, and user files, with the save keys.
#include "driver/nodemap/NodeMapRig.h"

#include "support/ScopedCapture.h"

#include "board/DriverBoard.h"
#include "nodemap/NodeMapDescription.h"

#include <ORGenApi/ORGenApi.h>

#include <simctl/SimControl.h>

#include <gtest/gtest.h>

#include <vector>

using namespace nodemaptest;

namespace {

const std::string prefix = "\tBoard = 0 | Channel = 0\t";

/// An old-style grabber description: a fractional version, a bar in a name and
/// two increments of zero, all of which the repair must fix. FG_WIDTH reads the
/// DMA's width through the port named `port`.
std::string OldDescription(bool withCategory, const std::string& port = "Device") {
    std::string text = R"(<?xml version="1.0" encoding="utf-8"?>
<RegisterDescription ModelName="Old" VendorName="Sim" StandardNameSpace="None" SchemaMajorVersion="1" SchemaMinorVersion="1" SchemaSubMinorVersion="0" MajorVersion="1.0" MinorVersion="1.0" SubMinorVersion="0" ToolTip="" ProductGuid="" VersionGuid="" xmlns="http://www.genicam.org/GenApi/Version_1_1">
)";
    if (withCategory)
        text += "<Category Name=\"Root\" NameSpace=\"Standard\"><pFeature>FG_WIDTH</pFeature>"
                "</Category>\n";
    text += "<Integer Name=\"FG_WIDTH\"><pValue>FG_WIDTH_Reg</pValue><Inc>0</Inc></Integer>\n"
            "<Integer Name=\"FG_A|B\"><pValue>FG_WIDTH_Reg</pValue><Inc>0</Inc></Integer>\n"
            "<IntReg Name=\"FG_WIDTH_Reg\"><Address>100</Address><Length>4</Length>"
            "<AccessMode>RW</AccessMode><pPort>" +
            port +
            "</pPort><Sign>Unsigned</Sign><Endianess>LittleEndian</Endianess></IntReg>\n"
            "<Port Name=\"" +
            port + "\"></Port>\n</RegisterDescription>";
    return text;
}

/// A rig whose grabber hands out `description`, saving what the driver loads.
struct DescriptionCase {
    TempFile description;
    TempFile saved{"saved.xml"};
    Machine machine;
    DescriptionCase(const std::string& text, const std::string& runtime)
        : description("dma.xml", text) {
        machine.runtime = runtime;
        machine.dmaDescriptionFile = description.Path();
        machine.dmaLines = "dmaxmlsave=" + saved.Path() + "\n";
    }
};

/// The DMA's description as the grabber itself hands it out.
std::string GrabberText(CDriverChannel& channel) {
    size_t size = 0;
    EXPECT_EQ(Fg_DmaDescription(channel.DriverBoard().Grabber(), 0, nullptr, &size), 0);
    std::vector<char> buffer(size);
    EXPECT_EQ(Fg_DmaDescription(channel.DriverBoard().Grabber(), 0, buffer.data(), &size), 0);
    return std::string(buffer.data());
}

TEST(NodeMapDescription, NewRuntime_GrabberTextUnchangedOnPortDevicePort) {
    ScopedCapture capture;
    TempFile saved("saved.xml");
    Machine machine;
    machine.dmaLines = "dmaxmlsave=" + saved.Path() + "\n";
    NodeMapRig rig(machine);
    HostObject dma(rig.Channel().GetDmaNodeMap());
    ASSERT_TRUE(dma);
    EXPECT_EQ(PortName(dma.get()), "DevicePort");
    // The grabber's text up to its last '>' (its final line break is cut).
    const std::string grabber = GrabberText(rig.Channel());
    ASSERT_EQ(grabber.back(), '\n');
    EXPECT_EQ(SimEnvironment::ReadFile(saved.Path()), grabber.substr(0, grabber.rfind('>') + 1));
    EXPECT_EQ(IntegerFeature(dma.get(), "FG_WIDTH"), 640);
    EXPECT_EQ(IntegerFeature(dma.get(), "FG_HEIGHT"), 480);
    EXPECT_TRUE(capture->contains(prefix + "Saved dma xml: " + saved.Path()));
    EXPECT_TRUE(capture->contains(prefix + "Loaded dma XML from grabber"));
    EXPECT_FALSE(capture->contains("repaired empty XML category"));
}

TEST(NodeMapDescription, NewRuntime_OldStyleTextIsNotRepaired) {
    DescriptionCase setup(OldDescription(true, "DevicePort"), "5.2.0");
    NodeMapRig rig(setup.machine);
    HostObject dma(rig.Channel().GetDmaNodeMap());
    EXPECT_EQ(SimEnvironment::ReadFile(setup.saved.Path()), OldDescription(true, "DevicePort"));
}

TEST(NodeMapDescription, OldRuntime_RepairsVersionsBarsAndIncrementsOnPortDevice) {
    ScopedCapture capture;
    DescriptionCase setup(OldDescription(true), "5.1.0");
    NodeMapRig rig(setup.machine);
    HostObject dma(rig.Channel().GetDmaNodeMap());
    ASSERT_TRUE(dma);
    EXPECT_EQ(PortName(dma.get()), "Device");
    const std::string text = SimEnvironment::ReadFile(setup.saved.Path());
    EXPECT_NE(text.find("MajorVersion=\"1\" MinorVersion=\"1\""), std::string::npos);
    EXPECT_EQ(text.find("1.0\" Minor"), std::string::npos);
    EXPECT_EQ(text.find('|'), std::string::npos);
    EXPECT_NE(text.find("FG_A_B"), std::string::npos);
    size_t comments = 0;
    for (size_t at = text.find("<!-- comment <Inc>0</Inc> -->"); at != std::string::npos;
         at = text.find("<!-- comment <Inc>0</Inc> -->", at + 1))
        ++comments;
    EXPECT_EQ(comments, 2u);
    EXPECT_EQ(text.find("<!-- comment <!--"), std::string::npos) << "commented only once";
    EXPECT_EQ(ORGenApi_HasNode(dma.get(), "FG_A_B"), 1);
    EXPECT_EQ(IntegerFeature(dma.get(), "FG_WIDTH"), 640);
    EXPECT_FALSE(capture->contains("repaired empty XML category"));
}

TEST(NodeMapDescription, OldRuntime_CommentedOutLimitsStayAndTheRepairedTextLoads) {
    const std::string block =
        "<!-- retired:\n<Integer Name=\"FG_OLD\"><Min>1</Min><Max>8</Max></Integer> -->\n";
    std::string text = OldDescription(true);
    text.insert(text.find("<Port"), block);
    DescriptionCase repaired(text, "5.0.0");
    NodeMapRig rig(repaired.machine);
    HostObject dma(rig.Channel().GetDmaNodeMap());
    ASSERT_TRUE(dma);
    EXPECT_EQ(IntegerFeature(dma.get(), "FG_WIDTH"), 640);
    EXPECT_NE(SimEnvironment::ReadFile(repaired.saved.Path()).find(block), std::string::npos);
}

TEST(NodeMapDescription, OldRuntime_NoCategoryGainsTheRootAndSaysSo) {
    ScopedCapture capture;
    DescriptionCase setup(OldDescription(false), "5.0.0");
    NodeMapRig rig(setup.machine);
    HostObject dma(rig.Channel().GetDmaNodeMap());
    ASSERT_TRUE(dma);
    const std::string text = SimEnvironment::ReadFile(setup.saved.Path());
    EXPECT_NE(text.find("<Category Name='ExampleCategory'><pFeature>FG_CAMSTATUS</pFeature>"
                        "</Category><Port Name=\"Device\"></Port>"),
              std::string::npos);
    EXPECT_EQ(ORGenApi_HasNode(dma.get(), "ExampleCategory"), 1);
    EXPECT_TRUE(capture->contains(prefix + "repaired empty XML category"));
}

TEST(NodeMapDescription, DescriptionWithoutClosingBracket_IsNone) {
    ScopedCapture capture;
    DescriptionCase setup("no description in here", "5.7.0");
    NodeMapRig rig(setup.machine);
    EXPECT_EQ(rig.Channel().GetDmaNodeMap(), nullptr);
    EXPECT_FALSE(SimEnvironment::Exists(setup.saved.Path())) << "nothing to save";
    EXPECT_TRUE(capture->contains(prefix + "Unable to get data for SiSo board XML"));
    EXPECT_TRUE(capture->contains(prefix + "No XML for board"));
}

TEST(NodeMapDescription, CutAfterLastBracket_StaysInsideTheBuffer) {
    const char text[] = {'<', 'a', '/', '>', 'x', 'y'}; // no terminating zero
    EXPECT_EQ(CNodeMapDescription::CutAfterLastBracket(text, sizeof text), "<a/>");
    const char early[] = "<a/>\0<b/>";
    EXPECT_EQ(CNodeMapDescription::CutAfterLastBracket(early, sizeof early), "<a/>");
    EXPECT_FALSE(CNodeMapDescription::CutAfterLastBracket("abc", 3));
    EXPECT_FALSE(CNodeMapDescription::CutAfterLastBracket(nullptr, 0));
    EXPECT_FALSE(CNodeMapDescription::CutAfterLastBracket("", 0));
}

TEST(NodeMapDescription, MalformedGrabberText_IsRefused) {
    ScopedCapture capture;
    DescriptionCase setup("<RegisterDescription><Open></RegisterDescription>", "5.7.0");
    NodeMapRig rig(setup.machine);
    EXPECT_EQ(rig.Channel().GetDmaNodeMap(), nullptr);
    const auto warning = capture->find(prefix + "Error validation dma xml string from board");
    ASSERT_TRUE(warning);
    EXPECT_EQ(warning->level, nwLogging::level_warn);
    EXPECT_EQ(warning->location.rfind("DriverChannel(", 0), 0u);
    EXPECT_TRUE(capture->contains(prefix + "No XML for board"));
}

TEST(NodeMapDescription, GrabberSizeRequestFails_NoNodeMap) {
    ScopedCapture capture;
    NodeMapRig rig;
    SimCtl_FailCall("Fg_DmaDescription", -2030, 1);
    EXPECT_EQ(rig.Channel().GetDmaNodeMap(), nullptr);
    EXPECT_TRUE(capture->contains(prefix + "Unable to get size of SiSo board XML"));
}

TEST(NodeMapDescription, UserDmaFile_IsUsedAndSaved) {
    ScopedCapture capture;
    TempFile user("user.xml", OldDescription(true, "DevicePort"));
    TempFile saved("copy.xml");
    Machine machine;
    machine.dmaLines = "dmaxml=" + user.Path() + "\ndmaxmlsave=" + saved.Path() + "\n";
    NodeMapRig rig(machine);
    HostObject dma(rig.Channel().GetDmaNodeMap());
    ASSERT_TRUE(dma);
    EXPECT_EQ(SimCtl_CallCount("Fg_DmaDescription"), 0) << "nothing downloaded";
    EXPECT_EQ(SimEnvironment::ReadFile(saved.Path()), OldDescription(true, "DevicePort"))
        << "a user file is never repaired";
    EXPECT_EQ(ORGenApi_HasNode(dma.get(), "FG_A|B"), 1);
    EXPECT_TRUE(capture->contains(prefix + "Saved DMA xml: " + saved.Path()));
    EXPECT_TRUE(capture->contains(prefix + "Loaded camera XML from file: " + user.Path()));
}

TEST(NodeMapDescription, UserCameraFile_ReplacesTheDownload) {
    ScopedCapture capture;
    TempFile user("camera.xml");
    TempFile saved("camera-copy.xml");
    Machine machine;
    machine.technology = Technology::GigE;
    machine.dmaLines = "camxmlsave=" + saved.Path() + "\n";
    {
        NodeMapRig download(machine);
        HostObject camera(download.Channel().GetCameraNodeMap());
        ASSERT_TRUE(camera);
        EXPECT_TRUE(capture->contains(prefix + "Saved camera xml: " + saved.Path()));
        EXPECT_TRUE(capture->contains(prefix + "Loaded camera XML from gige camera"));
    }
    SimEnvironment::WriteFile(user.Path(), SimEnvironment::ReadFile(saved.Path()));
    capture->clear();
    machine.dmaLines = "camxml=" + user.Path() + "\n";
    NodeMapRig rig(machine);
    HostObject camera(rig.Channel().GetCameraNodeMap());
    ASSERT_TRUE(camera);
    EXPECT_EQ(SimCtl_CallCount("Gbe_CameraDescription"), 0);
    EXPECT_TRUE(capture->contains(prefix + "Loaded camera XML from file: " + user.Path()));
    EXPECT_GT(IntegerFeature(camera.get(), "Width"), 0);
}

TEST(NodeMapDescription, MissingUserFile_FallsBackToTheDownload) {
    ScopedCapture capture;
    Machine machine;
    machine.technology = Technology::GigE;
    machine.dmaLines = "camxml=/nonexistent/orv/camera.xml\n";
    NodeMapRig rig(machine);
    HostObject camera(rig.Channel().GetCameraNodeMap());
    ASSERT_TRUE(camera);
    const auto error = capture->find(prefix + "Unable to load user camera xml:");
    ASSERT_TRUE(error);
    EXPECT_EQ(error->level, nwLogging::level_err);
    EXPECT_TRUE(capture->contains(prefix + "Loaded camera XML from gige camera"));
}

TEST(NodeMapDescription, InvalidUserFile_IsReportedAndFallsBack) {
    ScopedCapture capture;
    TempFile user("bad.xml", "<NotADescription/>");
    Machine machine;
    machine.dmaLines = "dmaxml=" + user.Path() + "\n";
    NodeMapRig rig(machine);
    HostObject dma(rig.Channel().GetDmaNodeMap());
    ASSERT_TRUE(dma);
    const auto warning =
        capture->find(prefix + "Error validation camera xml string from file: " + user.Path());
    ASSERT_TRUE(warning);
    EXPECT_EQ(warning->level, nwLogging::level_warn);
    EXPECT_TRUE(capture->contains(prefix + "Loaded dma XML from grabber"));
}

TEST(NodeMapDescription, CameraDownloadFails_NoXmlForCamera) {
    ScopedCapture capture;
    Machine machine;
    machine.technology = Technology::GigE;
    NodeMapRig rig(machine);
    SimCtl_FailCall("Gbe_CameraDescription", -3009, 1);
    EXPECT_EQ(rig.Channel().GetCameraNodeMap(), nullptr);
    EXPECT_TRUE(capture->contains(prefix + "Unable to get size of genicam XML"));
    const auto warning = capture->find(prefix + "No XML for camera");
    ASSERT_TRUE(warning);
    EXPECT_EQ(warning->level, nwLogging::level_warn);
}

} // namespace

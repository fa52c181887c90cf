#pragma once
// Descriptions and node-map helpers shared by the ORGenApi tests.

#include "BlockTestSupport.h"

#include <ORCImg/ORCImg.h>
#include <ORGenApi/ORGenApi.h>

#include <string>

namespace hosttest {

/// A small, valid GenICam description with a port and two features.
inline const char* CameraDescription() {
    return R"(<?xml version="1.0" encoding="utf-8"?>
<RegisterDescription ModelName="Sim" VendorName="Orvento" StandardNameSpace="None"
    SchemaMajorVersion="1" SchemaMinorVersion="1" SchemaSubMinorVersion="0"
    MajorVersion="1" MinorVersion="0" SubMinorVersion="0" ToolTip="" ProductGuid="" VersionGuid=""
    xmlns="http://www.genicam.org/GenApi/Version_1_1">
  <Category Name="Root" NameSpace="Standard">
    <pFeature>Width</pFeature>
  </Category>
  <Integer Name="Width">
    <pValue>WidthReg</pValue>
  </Integer>
  <IntReg Name="WidthReg">
    <Address>0x100</Address>
    <Length>4</Length>
    <AccessMode>RW</AccessMode>
    <pPort>Device</pPort>
    <Sign>Unsigned</Sign>
    <Endianess>LittleEndian</Endianess>
  </IntReg>
  <Port Name="Device"/>
</RegisterDescription>
)";
}

/// Node-map tests: leak checks, plus a node map made per test.
class NodeMapTest : public BlockTest {
protected:
    void SetUp() override {
        BlockTest::SetUp();
        ASSERT_EQ(ORGenApi_CreateNodeMap(&nodeMap_), 0);
        ASSERT_NE(nodeMap_, nullptr);
    }
    void TearDown() override {
        ORCImg_ReleaseObject(&nodeMap_);
        BlockTest::TearDown();
    }
    ORHandle nodeMap_ = nullptr;
};

} // namespace hosttest

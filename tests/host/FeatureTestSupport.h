#pragma once
// A description with one feature of each kind, for the ORGenApi feature tests.

#include "FakeRegisterPort.h"
#include "GenApiTestSupport.h"

#include <string>

namespace hosttest {

/// Registers (all on port "Device"):
///   Width      Integer 1..4096 over WidthReg, 4 bytes little-endian at 0x100
///   Height     Integer over HeightReg, 4 bytes big-endian at 0x104
///   SensorId   Integer over a read-only register at 0x108
///   Gain       Float 0..48 over an 8-byte little-endian register at 0x110
///   Reverse    Boolean over a 4-byte register at 0x118
///   Mode       Enumeration Off=0, On=1, Auto=5 over a register at 0x11C
///   Start      Command writing 7 to a register at 0x120
///   UserName   String of 16 bytes at 0x130
inline std::string FeatureDescription(const std::string& portName = "Device") {
    const std::string port = "<pPort>" + portName + "</pPort>";
    return R"(<?xml version="1.0" encoding="utf-8"?>
<RegisterDescription ModelName="Features" VendorName="Orvento" StandardNameSpace="None"
    SchemaMajorVersion="1" SchemaMinorVersion="1" SchemaSubMinorVersion="0"
    MajorVersion="1" MinorVersion="0" SubMinorVersion="0" ToolTip="" ProductGuid="" VersionGuid=""
    xmlns="http://www.genicam.org/GenApi/Version_1_1">
  <Category Name="Root" NameSpace="Standard">
    <pFeature>Width</pFeature>
    <pFeature>Height</pFeature>
    <pFeature>SensorId</pFeature>
    <pFeature>Gain</pFeature>
    <pFeature>Reverse</pFeature>
    <pFeature>Mode</pFeature>
    <pFeature>Start</pFeature>
    <pFeature>UserName</pFeature>
  </Category>
  <Integer Name="Width">
    <pValue>WidthReg</pValue>
    <Min>1</Min>
    <Max>4096</Max>
  </Integer>
  <IntReg Name="WidthReg">
    <Address>0x100</Address>
    <Length>4</Length>
    <AccessMode>RW</AccessMode>
    )" + port +
           R"(
    <Sign>Unsigned</Sign>
    <Endianess>LittleEndian</Endianess>
  </IntReg>
  <Integer Name="Height">
    <pValue>HeightReg</pValue>
  </Integer>
  <IntReg Name="HeightReg">
    <Address>0x104</Address>
    <Length>4</Length>
    <AccessMode>RW</AccessMode>
    )" + port +
           R"(
    <Sign>Unsigned</Sign>
    <Endianess>BigEndian</Endianess>
  </IntReg>
  <Integer Name="SensorId">
    <pValue>SensorIdReg</pValue>
  </Integer>
  <IntReg Name="SensorIdReg">
    <Address>0x108</Address>
    <Length>4</Length>
    <AccessMode>RO</AccessMode>
    )" + port +
           R"(
    <Sign>Unsigned</Sign>
    <Endianess>LittleEndian</Endianess>
  </IntReg>
  <Float Name="Gain">
    <pValue>GainReg</pValue>
    <Min>0</Min>
    <Max>48</Max>
  </Float>
  <FloatReg Name="GainReg">
    <Address>0x110</Address>
    <Length>8</Length>
    <AccessMode>RW</AccessMode>
    )" + port +
           R"(
    <Endianess>LittleEndian</Endianess>
  </FloatReg>
  <Boolean Name="Reverse">
    <pValue>ReverseReg</pValue>
  </Boolean>
  <IntReg Name="ReverseReg">
    <Address>0x118</Address>
    <Length>4</Length>
    <AccessMode>RW</AccessMode>
    )" + port +
           R"(
    <Sign>Unsigned</Sign>
    <Endianess>LittleEndian</Endianess>
  </IntReg>
  <Enumeration Name="Mode">
    <EnumEntry Name="Off"><Value>0</Value></EnumEntry>
    <EnumEntry Name="On"><Value>1</Value></EnumEntry>
    <EnumEntry Name="Auto"><Value>5</Value></EnumEntry>
    <pValue>ModeReg</pValue>
  </Enumeration>
  <IntReg Name="ModeReg">
    <Address>0x11C</Address>
    <Length>4</Length>
    <AccessMode>RW</AccessMode>
    )" + port +
           R"(
    <Sign>Unsigned</Sign>
    <Endianess>LittleEndian</Endianess>
  </IntReg>
  <Command Name="Start">
    <pValue>StartReg</pValue>
    <CommandValue>7</CommandValue>
  </Command>
  <IntReg Name="StartReg">
    <Address>0x120</Address>
    <Length>4</Length>
    <AccessMode>WO</AccessMode>
    )" + port +
           R"(
    <Sign>Unsigned</Sign>
    <Endianess>LittleEndian</Endianess>
  </IntReg>
  <StringReg Name="UserName">
    <Address>0x130</Address>
    <Length>16</Length>
    <AccessMode>RW</AccessMode>
    )" + port +
           R"(
  </StringReg>
  <Port Name=")" +
           portName + R"("/>
</RegisterDescription>
)";
}

/// Little-endian 32-bit value into the port's bytes.
inline void PutLittle32(FakeRegisterPort& port, size_t address, uint32_t value) {
    for (int i = 0; i < 4; ++i)
        port.bytes()[address + i] = static_cast<uint8_t>(value >> (8 * i));
}

inline uint32_t Little32(FakeRegisterPort& port, size_t address) {
    uint32_t value = 0;
    for (int i = 0; i < 4; ++i)
        value |= static_cast<uint32_t>(port.bytes()[address + i]) << (8 * i);
    return value;
}

} // namespace hosttest

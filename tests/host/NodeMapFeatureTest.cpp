// Features of node maps: values evaluated by the GenICam engine and carried
// through the attached register port.

#include "FeatureTestSupport.h"

#include <ORV/ResultCodes.h>

#include <atomic>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

using hosttest::FakeRegisterPort;
using hosttest::FeatureDescription;
using hosttest::Little32;
using hosttest::NodeMapTest;
using hosttest::PutLittle32;

namespace {

class NodeMapFeature : public NodeMapTest {
protected:
    void SetUp() override {
        NodeMapTest::SetUp();
        ASSERT_EQ(ORGenApi_LoadDescription(nodeMap_, FeatureDescription().c_str()), 0);
        Attach(port_, "Device");
    }
    void Attach(FakeRegisterPort& port, const char* name) {
        ASSERT_EQ(ORGenApi_AttachPort(nodeMap_, FakeRegisterPort::Read, FakeRegisterPort::Write,
                                      FakeRegisterPort::Access, &port, name),
                  0);
    }
    std::string Text(int32_t (*get)(ORHandle, const char*, char*, uint32_t*), const char* name) {
        char buffer[64] = {};
        uint32_t length = sizeof buffer;
        EXPECT_EQ(get(nodeMap_, name, buffer, &length), 0) << name;
        return buffer;
    }

    FakeRegisterPort port_{0x200};
};

/// A port whose every access fails with its own code.
int32_t FailingRead(void*, int64_t, int64_t, void*) {
    return ORV::code(0x8000ABCD);
}
int32_t FailingWrite(const void*, int64_t, int64_t, void*) {
    return ORV::code(0x8000ABCE);
}

TEST_F(NodeMapFeature, Integer_ReadTravelsThroughThePort) {
    PutLittle32(port_, 0x100, 640);
    int64_t width = 0;
    ASSERT_EQ(ORGenApi_GetIntegerFeature(nodeMap_, "Width", &width), 0);
    EXPECT_EQ(width, 640);
    EXPECT_GE(port_.reads.load(), 1);
    PutLittle32(port_, 0x100, 1024); // the device changed it: no cache
    ASSERT_EQ(ORGenApi_GetIntegerFeature(nodeMap_, "Width", &width), 0);
    EXPECT_EQ(width, 1024);
}

TEST_F(NodeMapFeature, Integer_WriteLandsInTheRegisterInItsByteOrder) {
    ASSERT_EQ(ORGenApi_SetIntegerFeature(nodeMap_, "Width", 0x0321), 0);
    EXPECT_EQ(Little32(port_, 0x100), 0x0321u);
    ASSERT_EQ(ORGenApi_SetIntegerFeature(nodeMap_, "Height", 0x0102), 0);
    const uint8_t bigEndian[4] = {0x00, 0x00, 0x01, 0x02};
    EXPECT_EQ(std::memcmp(port_.bytes().data() + 0x104, bigEndian, 4), 0);
    int64_t height = 0;
    ASSERT_EQ(ORGenApi_GetIntegerFeature(nodeMap_, "Height", &height), 0);
    EXPECT_EQ(height, 0x0102);
}

TEST_F(NodeMapFeature, Integer_OutOfRangeIsRefusedAndNothingWritten) {
    PutLittle32(port_, 0x100, 640);
    const int writesBefore = port_.writes.load();
    EXPECT_EQ(ORGenApi_SetIntegerFeature(nodeMap_, "Width", 5000), ORV::E_INVALIDARG);
    EXPECT_EQ(ORGenApi_SetIntegerFeature(nodeMap_, "Width", 0), ORV::E_INVALIDARG);
    EXPECT_EQ(port_.writes.load(), writesBefore);
    EXPECT_EQ(Little32(port_, 0x100), 640u);
}

TEST_F(NodeMapFeature, ReadOnly_WriteIsRefusedWithoutReachingThePort) {
    PutLittle32(port_, 0x108, 42);
    EXPECT_EQ(ORGenApi_SetIntegerFeature(nodeMap_, "SensorId", 7), ORV::E_FAIL);
    EXPECT_EQ(port_.writes.load(), 0);
    int64_t id = 0;
    ASSERT_EQ(ORGenApi_GetIntegerFeature(nodeMap_, "SensorId", &id), 0);
    EXPECT_EQ(id, 42);
}

TEST_F(NodeMapFeature, UnknownNameOrOtherType_IsAnInvalidArgument) {
    int64_t value = 0;
    double gain = 0;
    EXPECT_EQ(ORGenApi_GetIntegerFeature(nodeMap_, "NoSuchFeature", &value), ORV::E_INVALIDARG);
    EXPECT_EQ(ORGenApi_GetIntegerFeature(nodeMap_, "Gain", &value), ORV::E_INVALIDARG);
    EXPECT_EQ(ORGenApi_GetFloatFeature(nodeMap_, "Width", &gain), ORV::E_INVALIDARG);
    EXPECT_EQ(ORGenApi_ExecuteCommand(nodeMap_, "Width"), ORV::E_INVALIDARG);
    EXPECT_EQ(ORGenApi_GetIntegerFeature(nodeMap_, nullptr, &value), ORV::E_INVALIDARG);
    EXPECT_EQ(ORGenApi_GetIntegerFeature(nodeMap_, "Width", nullptr), ORV::E_INVALIDARG);
    EXPECT_EQ(ORGenApi_GetIntegerFeature(nullptr, "Width", &value), ORV::E_INVALIDARG);
    EXPECT_EQ(port_.reads.load(), 0);
}

TEST_F(NodeMapFeature, PortFailure_AnswersThePortsOwnResult) {
    ASSERT_EQ(ORGenApi_AttachPort(nodeMap_, FailingRead, FailingWrite, nullptr, nullptr, "Device"),
              0);
    int64_t value = 0;
    EXPECT_EQ(ORGenApi_GetIntegerFeature(nodeMap_, "Width", &value), ORV::code(0x8000ABCD));
    EXPECT_EQ(ORGenApi_SetIntegerFeature(nodeMap_, "Height", 3), ORV::code(0x8000ABCE));
    EXPECT_EQ(value, 0) << "nothing written on failure";
}

TEST_F(NodeMapFeature, PortUnderAnUndeclaredName_IsNotUsedByFeatures) {
    FakeRegisterPort other(0x200);
    PutLittle32(other, 0x100, 640);
    Attach(other, "DevicePort"); // the description declares only "Device"
    int64_t value = 0;
    EXPECT_EQ(ORGenApi_GetIntegerFeature(nodeMap_, "Width", &value), ORV::E_FAIL);
    EXPECT_EQ(other.reads.load(), 0);
    uint8_t raw = 0;
    EXPECT_EQ(ORGenApi_ReadPort(nodeMap_, &raw, 0x100, 1), 0) << "raw access ignores the name";
}

TEST_F(NodeMapFeature, NewRuntimePortName_WorksWhenTheDescriptionDeclaresIt) {
    ASSERT_EQ(ORGenApi_LoadDescription(nodeMap_, FeatureDescription("DevicePort").c_str()), 0);
    FakeRegisterPort port(0x200);
    PutLittle32(port, 0x100, 800);
    Attach(port, "DevicePort");
    int64_t value = 0;
    ASSERT_EQ(ORGenApi_GetIntegerFeature(nodeMap_, "Width", &value), 0);
    EXPECT_EQ(value, 800);
}

TEST_F(NodeMapFeature, NoPortAttached_FeaturesFail) {
    ORHandle bare = nullptr;
    ASSERT_EQ(ORGenApi_CreateNodeMap(&bare), 0);
    ASSERT_EQ(ORGenApi_LoadDescription(bare, FeatureDescription().c_str()), 0);
    int64_t value = 0;
    EXPECT_EQ(ORGenApi_GetIntegerFeature(bare, "Width", &value), ORV::E_FAIL);
    ORCImg_ReleaseObject(&bare);
}

TEST_F(NodeMapFeature, NoDescription_FeaturesFail) {
    ORHandle bare = nullptr;
    ASSERT_EQ(ORGenApi_CreateNodeMap(&bare), 0);
    int64_t value = 0;
    EXPECT_EQ(ORGenApi_GetIntegerFeature(bare, "Width", &value), ORV::E_FAIL);
    ORCImg_ReleaseObject(&bare);
}

TEST_F(NodeMapFeature, Proxy_ActsForItsNodeMap) {
    PutLittle32(port_, 0x100, 320);
    ORHandle proxy = nullptr;
    ASSERT_EQ(ORGenApi_CreateProxy(nodeMap_, nullptr, nullptr, &proxy), 0);
    int64_t width = 0;
    EXPECT_EQ(ORGenApi_GetIntegerFeature(proxy, "Width", &width), 0);
    EXPECT_EQ(width, 320);
    EXPECT_EQ(ORGenApi_SetIntegerFeature(proxy, "Width", 64), 0);
    EXPECT_EQ(Little32(port_, 0x100), 64u);
    ORCImg_ReleaseObject(&proxy);
}

TEST_F(NodeMapFeature, NamesAndAccess_AsTheDescriptionDeclaresThem) {
    uint32_t length = 0;
    ASSERT_EQ(ORGenApi_GetFeatureNames(nodeMap_, nullptr, &length), 0);
    std::string names(length, '\0');
    uint32_t tooShort = length - 1;
    EXPECT_EQ(ORGenApi_GetFeatureNames(nodeMap_, names.data(), &tooShort), ORV::E_FAIL);
    EXPECT_EQ(tooShort, length);
    ASSERT_EQ(ORGenApi_GetFeatureNames(nodeMap_, names.data(), &length), 0);
    EXPECT_STREQ(names.c_str(), "Width\nHeight\nSensorId\nGain\nReverse\nMode\nStart\nUserName\n");

    const std::pair<const char*, int32_t> expected[] = {{"Width", ORGENAPI_ACCESS_RW},
                                                        {"SensorId", ORGENAPI_ACCESS_RO},
                                                        {"Gain", ORGENAPI_ACCESS_RW}};
    for (const auto& [name, mode] : expected) {
        int32_t access = -1;
        EXPECT_EQ(ORGenApi_GetFeatureAccess(nodeMap_, name, &access), 0) << name;
        EXPECT_EQ(access, mode) << name;
    }
    int32_t access = -1;
    EXPECT_EQ(ORGenApi_GetFeatureAccess(nodeMap_, "NoSuchFeature", &access), ORV::E_INVALIDARG);
    EXPECT_EQ(ORGenApi_GetFeatureAccess(nodeMap_, "Width", nullptr), ORV::E_INVALIDARG);

    // Without a Root category there is nothing to list from.
    std::string rootless = FeatureDescription();
    const std::string::size_type at = rootless.find("Name=\"Root\"");
    ASSERT_NE(at, std::string::npos);
    rootless.replace(at, 11, "Name=\"Top\"");
    ASSERT_EQ(ORGenApi_LoadDescription(nodeMap_, rootless.c_str()), 0);
    EXPECT_EQ(ORGenApi_GetFeatureNames(nodeMap_, nullptr, &length), ORV::E_FAIL);
}

TEST_F(NodeMapFeature, Float_ReadAndWriteEightBytes) {
    const double stored = 12.5;
    std::memcpy(port_.bytes().data() + 0x110, &stored, sizeof stored);
    double gain = 0;
    ASSERT_EQ(ORGenApi_GetFloatFeature(nodeMap_, "Gain", &gain), 0);
    EXPECT_DOUBLE_EQ(gain, 12.5);
    ASSERT_EQ(ORGenApi_SetFloatFeature(nodeMap_, "Gain", 3.25), 0);
    double written = 0;
    std::memcpy(&written, port_.bytes().data() + 0x110, sizeof written);
    EXPECT_DOUBLE_EQ(written, 3.25);
    EXPECT_EQ(ORGenApi_SetFloatFeature(nodeMap_, "Gain", 49.0), ORV::E_INVALIDARG);
}

TEST_F(NodeMapFeature, Boolean_ReadAndWrite) {
    int32_t value = -1;
    ASSERT_EQ(ORGenApi_GetBooleanFeature(nodeMap_, "Reverse", &value), 0);
    EXPECT_EQ(value, 0);
    ASSERT_EQ(ORGenApi_SetBooleanFeature(nodeMap_, "Reverse", 1), 0);
    EXPECT_EQ(Little32(port_, 0x118), 1u);
    ASSERT_EQ(ORGenApi_GetBooleanFeature(nodeMap_, "Reverse", &value), 0);
    EXPECT_EQ(value, 1);
}

TEST_F(NodeMapFeature, Enumeration_ByEntryName) {
    PutLittle32(port_, 0x11C, 5);
    EXPECT_EQ(Text(ORGenApi_GetEnumFeature, "Mode"), "Auto");
    ASSERT_EQ(ORGenApi_SetEnumFeature(nodeMap_, "Mode", "On"), 0);
    EXPECT_EQ(Little32(port_, 0x11C), 1u);
    EXPECT_EQ(ORGenApi_SetEnumFeature(nodeMap_, "Mode", "Sideways"), ORV::E_INVALIDARG);
    EXPECT_EQ(Little32(port_, 0x11C), 1u);
    int64_t asInteger = 0;
    ASSERT_EQ(ORGenApi_GetIntegerFeature(nodeMap_, "Mode", &asInteger), 0);
    EXPECT_EQ(asInteger, 1);
}

TEST_F(NodeMapFeature, Command_WritesItsValue) {
    ASSERT_EQ(ORGenApi_ExecuteCommand(nodeMap_, "Start"), 0);
    EXPECT_EQ(Little32(port_, 0x120), 7u);
}

TEST_F(NodeMapFeature, String_FollowsTheSizeProtocol) {
    std::memcpy(port_.bytes().data() + 0x130, "cam-7", 6);
    uint32_t length = 0;
    ASSERT_EQ(ORGenApi_GetStringFeature(nodeMap_, "UserName", nullptr, &length), 0);
    EXPECT_EQ(length, 6u);
    char small[3] = {'x', 'x', 'x'};
    length = sizeof small;
    EXPECT_EQ(ORGenApi_GetStringFeature(nodeMap_, "UserName", small, &length), ORV::E_FAIL);
    EXPECT_EQ(length, 6u);
    EXPECT_EQ(small[0], 'x') << "nothing written into a buffer too small";
    char exact[6];
    length = sizeof exact;
    ASSERT_EQ(ORGenApi_GetStringFeature(nodeMap_, "UserName", exact, &length), 0);
    EXPECT_STREQ(exact, "cam-7");
    EXPECT_EQ(ORGenApi_GetStringFeature(nodeMap_, "UserName", exact, nullptr), ORV::E_INVALIDARG);
    ASSERT_EQ(ORGenApi_SetStringFeature(nodeMap_, "UserName", "lab"), 0);
    EXPECT_STREQ(reinterpret_cast<const char*>(port_.bytes().data() + 0x130), "lab");
}

TEST_F(NodeMapFeature, Reload_SwitchesToTheNewDescriptionsRegisters) {
    PutLittle32(port_, 0x100, 640);
    ASSERT_EQ(ORGenApi_LoadDescription(nodeMap_, hosttest::CameraDescription()), 0);
    int64_t width = 0;
    ASSERT_EQ(ORGenApi_GetIntegerFeature(nodeMap_, "Width", &width), 0);
    EXPECT_EQ(width, 640);
    double gain = 0;
    EXPECT_EQ(ORGenApi_GetFloatFeature(nodeMap_, "Gain", &gain), ORV::E_INVALIDARG)
        << "the new description has no Gain";
}

TEST_F(NodeMapFeature, InternalEntity_ItsNodesAreFeatures) {
    const std::string xml =
        R"(<!DOCTYPE RegisterDescription [<!ENTITY reg "<IntReg Name='WidthReg'>)"
        R"(<Address>0x100</Address><Length>4</Length><AccessMode>RW</AccessMode>)"
        R"(<pPort>Device</pPort><Sign>Unsigned</Sign><Endianess>LittleEndian</Endianess>)"
        R"(</IntReg>">]>)"
        R"(<RegisterDescription><Integer Name="Width"><pValue>WidthReg</pValue></Integer>)"
        R"(&reg;<Port Name="Device"/></RegisterDescription>)";
    ASSERT_EQ(ORGenApi_LoadDescription(nodeMap_, xml.c_str()), 0);
    PutLittle32(port_, 0x100, 77);
    int64_t width = 0;
    ASSERT_EQ(ORGenApi_GetIntegerFeature(nodeMap_, "Width", &width), 0);
    EXPECT_EQ(width, 77);
}

TEST_F(NodeMapFeature, PortCallback_MayUseTheSameNodeMap) {
    // The port is called while the engine evaluates; a callback that asks the
    // node map again (its name, another feature) must not deadlock.
    uint32_t nameLength = 0;
    int64_t inner = -1;
    int depth = 0;
    ORHandle nodeMap = nodeMap_;
    port_.duringCall = [&] {
        if (depth++ == 0) {
            ORGenApi_GetPortName(nodeMap, nullptr, &nameLength);
            ORGenApi_GetIntegerFeature(nodeMap, "SensorId", &inner);
        }
    };
    PutLittle32(port_, 0x108, 9);
    int64_t width = 0;
    EXPECT_EQ(ORGenApi_GetIntegerFeature(nodeMap_, "Width", &width), 0);
    EXPECT_EQ(nameLength, 7u);
    EXPECT_EQ(inner, 9);
}

TEST_F(NodeMapFeature, ManyThreads_ReadAndWriteOneNodeMap) {
    PutLittle32(port_, 0x108, 1234);
    std::atomic<int> failures{0};
    std::vector<std::thread> threads;
    for (int index = 0; index < 4; ++index) {
        threads.emplace_back([&, index] {
            for (int round = 0; round < 200; ++round) {
                int64_t id = 0;
                if (ORGenApi_GetIntegerFeature(nodeMap_, "SensorId", &id) != 0 || id != 1234)
                    failures.fetch_add(1);
                if (ORGenApi_SetIntegerFeature(nodeMap_, "Height", index + 1) != 0)
                    failures.fetch_add(1);
            }
        });
    }
    for (std::thread& thread : threads)
        thread.join();
    EXPECT_EQ(failures.load(), 0);
}

} // namespace

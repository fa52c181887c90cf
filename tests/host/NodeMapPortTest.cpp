// Register ports of node maps: attaching, reading and writing through them.

#include "FakeRegisterPort.h"
#include "GenApiTestSupport.h"

#include <ORV/ResultCodes.h>

#include <array>
#include <cstring>

using hosttest::CameraDescription;
using hosttest::FakeRegisterPort;
using hosttest::NodeMapTest;

namespace {

using NodeMapPort = NodeMapTest;

TEST_F(NodeMapPort, ReadAndWrite_GoThroughTheCallbacksWithTheContext) {
    ASSERT_EQ(ORGenApi_LoadDescription(nodeMap_, CameraDescription()), 0);
    FakeRegisterPort port(0x200);
    ASSERT_EQ(ORGenApi_AttachPort(nodeMap_, FakeRegisterPort::Read, FakeRegisterPort::Write,
                                  FakeRegisterPort::Access, &port, "Device"),
              0);
    const std::array<uint8_t, 4> written = {0x80, 0x02, 0x00, 0x00};
    ASSERT_EQ(ORGenApi_WritePort(nodeMap_, written.data(), 0x100, 4), 0);
    EXPECT_EQ(port.writes.load(), 1);
    EXPECT_EQ(std::memcmp(port.bytes().data() + 0x100, written.data(), 4), 0);
    std::array<uint8_t, 4> read = {};
    ASSERT_EQ(ORGenApi_ReadPort(nodeMap_, read.data(), 0x100, 4), 0);
    EXPECT_EQ(port.reads.load(), 1);
    EXPECT_EQ(read, written);
}

TEST_F(NodeMapPort, CallbackFailure_IsPassedThrough) {
    FakeRegisterPort port(8);
    ASSERT_EQ(ORGenApi_AttachPort(nodeMap_, FakeRegisterPort::Read, FakeRegisterPort::Write,
                                  nullptr, &port, "Device"),
              0);
    uint8_t buffer[4] = {};
    EXPECT_EQ(ORGenApi_ReadPort(nodeMap_, buffer, 6, 4), ORV::E_FAIL);
    EXPECT_EQ(ORGenApi_WritePort(nodeMap_, buffer, 100, 1), ORV::E_FAIL);
}

TEST_F(NodeMapPort, NoPortAttached_ReadAndWriteFail) {
    ASSERT_EQ(ORGenApi_LoadDescription(nodeMap_, CameraDescription()), 0);
    uint8_t buffer[4] = {};
    EXPECT_NE(ORGenApi_ReadPort(nodeMap_, buffer, 0, 4), 0);
    EXPECT_NE(ORGenApi_WritePort(nodeMap_, buffer, 0, 4), 0);
    int32_t mode = 0;
    EXPECT_NE(ORGenApi_GetPortAccess(nodeMap_, 0, 4, &mode), 0);
    uint32_t length = 0;
    EXPECT_EQ(ORGenApi_GetPortName(nodeMap_, nullptr, &length), 0);
    EXPECT_EQ(length, 1u);
}

TEST_F(NodeMapPort, Attach_RefusesMissingCallbacksOrName) {
    FakeRegisterPort port(8);
    EXPECT_NE(
        ORGenApi_AttachPort(nodeMap_, nullptr, FakeRegisterPort::Write, nullptr, &port, "Device"),
        0);
    EXPECT_NE(
        ORGenApi_AttachPort(nodeMap_, FakeRegisterPort::Read, nullptr, nullptr, &port, "Device"),
        0);
    EXPECT_NE(ORGenApi_AttachPort(nodeMap_, FakeRegisterPort::Read, FakeRegisterPort::Write,
                                  nullptr, &port, nullptr),
              0);
    EXPECT_NE(ORGenApi_AttachPort(nullptr, FakeRegisterPort::Read, FakeRegisterPort::Write, nullptr,
                                  &port, "Device"),
              0);
    uint8_t buffer[1] = {};
    EXPECT_NE(ORGenApi_ReadPort(nodeMap_, buffer, 0, 1), 0); // nothing was attached
    EXPECT_EQ(port.reads.load(), 0);
}

TEST_F(NodeMapPort, AttachBeforeLoad_IsAllowedAndSurvivesTheLoad) {
    FakeRegisterPort port(8);
    port.bytes()[0] = 7;
    ASSERT_EQ(ORGenApi_AttachPort(nodeMap_, FakeRegisterPort::Read, FakeRegisterPort::Write,
                                  nullptr, &port, "Device"),
              0);
    ASSERT_EQ(ORGenApi_LoadDescription(nodeMap_, CameraDescription()), 0);
    uint8_t value = 0;
    EXPECT_EQ(ORGenApi_ReadPort(nodeMap_, &value, 0, 1), 0);
    EXPECT_EQ(value, 7);
}

TEST_F(NodeMapPort, SecondAttach_ReplacesThePort) {
    FakeRegisterPort first(8);
    FakeRegisterPort second(8);
    second.bytes()[0] = 9;
    ASSERT_EQ(ORGenApi_AttachPort(nodeMap_, FakeRegisterPort::Read, FakeRegisterPort::Write,
                                  nullptr, &first, "Device"),
              0);
    ASSERT_EQ(ORGenApi_AttachPort(nodeMap_, FakeRegisterPort::Read, FakeRegisterPort::Write,
                                  nullptr, &second, "DevicePort"),
              0);
    uint8_t value = 0;
    EXPECT_EQ(ORGenApi_ReadPort(nodeMap_, &value, 0, 1), 0);
    EXPECT_EQ(value, 9);
    EXPECT_EQ(first.reads.load(), 0);
    char name[16] = {};
    uint32_t length = sizeof(name);
    ASSERT_EQ(ORGenApi_GetPortName(nodeMap_, name, &length), 0);
    EXPECT_STREQ(name, "DevicePort");
}

TEST_F(NodeMapPort, Access_AnswersTheCallbacksMode) {
    FakeRegisterPort port(8);
    ASSERT_EQ(ORGenApi_AttachPort(nodeMap_, FakeRegisterPort::Read, FakeRegisterPort::Write,
                                  FakeRegisterPort::Access, &port, "Device"),
              0);
    int32_t mode = 0;
    ASSERT_EQ(ORGenApi_GetPortAccess(nodeMap_, 0, 4, &mode), 0);
    EXPECT_EQ(mode, 4);
    EXPECT_NE(ORGenApi_GetPortAccess(nodeMap_, 0, 4, nullptr), 0);
}

TEST_F(NodeMapPort, PortName_FollowsTheSizeProtocol) {
    FakeRegisterPort port(8);
    ASSERT_EQ(ORGenApi_AttachPort(nodeMap_, FakeRegisterPort::Read, FakeRegisterPort::Write,
                                  nullptr, &port, "DevicePort"),
              0);
    uint32_t length = 0;
    ASSERT_EQ(ORGenApi_GetPortName(nodeMap_, nullptr, &length), 0);
    EXPECT_EQ(length, 11u);
    char small[4] = {'x', 'x', 'x', 'x'};
    length = sizeof(small);
    EXPECT_EQ(ORGenApi_GetPortName(nodeMap_, small, &length), ORV::E_FAIL);
    EXPECT_EQ(length, 11u);
    EXPECT_EQ(small[0], 'x'); // nothing written into a buffer too small
    char exact[11];
    length = sizeof(exact);
    ASSERT_EQ(ORGenApi_GetPortName(nodeMap_, exact, &length), 0);
    EXPECT_STREQ(exact, "DevicePort");
    EXPECT_NE(ORGenApi_GetPortName(nodeMap_, exact, nullptr), 0);
}

TEST_F(NodeMapPort, BadBufferOrLength_IsRefusedBeforeTheCallback) {
    FakeRegisterPort port(8);
    ASSERT_EQ(ORGenApi_AttachPort(nodeMap_, FakeRegisterPort::Read, FakeRegisterPort::Write,
                                  nullptr, &port, "Device"),
              0);
    uint8_t buffer[1] = {};
    EXPECT_EQ(ORGenApi_ReadPort(nodeMap_, nullptr, 0, 1), ORV::E_INVALIDARG);
    EXPECT_EQ(ORGenApi_ReadPort(nodeMap_, buffer, 0, -1), ORV::E_INVALIDARG);
    EXPECT_EQ(ORGenApi_WritePort(nodeMap_, nullptr, 0, 1), ORV::E_INVALIDARG);
    EXPECT_EQ(ORGenApi_ReadPort(nullptr, buffer, 0, 1), ORV::E_INVALIDARG);
    EXPECT_EQ(port.reads.load() + port.writes.load(), 0);
}

TEST_F(NodeMapPort, Callbacks_RunWithoutTheNodeMapLock) {
    // A port callback that uses its own node map would deadlock if the node
    // map's mutex were held around it.
    FakeRegisterPort port(8);
    uint32_t lengthSeen = 0;
    ORHandle nodeMap = nodeMap_;
    port.duringCall = [&] { ORGenApi_GetPortName(nodeMap, nullptr, &lengthSeen); };
    ASSERT_EQ(ORGenApi_AttachPort(nodeMap_, FakeRegisterPort::Read, FakeRegisterPort::Write,
                                  nullptr, &port, "Device"),
              0);
    uint8_t value = 0;
    EXPECT_EQ(ORGenApi_ReadPort(nodeMap_, &value, 0, 1), 0);
    EXPECT_EQ(lengthSeen, 7u);
}

} // namespace

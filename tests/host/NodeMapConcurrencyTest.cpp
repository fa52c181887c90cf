// Node maps used from several threads: separate maps in parallel, and one map
// read through proxies while its port is re-attached.

#include "FakeRegisterPort.h"
#include "GenApiTestSupport.h"

#include <atomic>
#include <string>
#include <thread>
#include <vector>

using hosttest::BlockTest;
using hosttest::CameraDescription;
using hosttest::FakeRegisterPort;

namespace {

using NodeMapConcurrency = BlockTest;

TEST_F(NodeMapConcurrency, SeparateNodeMaps_LoadAndReadInParallel) {
    constexpr int threadCount = 6;
    std::atomic<int> failures{0};
    std::vector<std::thread> threads;
    for (int index = 0; index < threadCount; ++index) {
        threads.emplace_back([&failures, index] {
            FakeRegisterPort port(16);
            port.bytes()[0] = static_cast<uint8_t>(index);
            for (int round = 0; round < 20; ++round) {
                ORHandle nodeMap = nullptr;
                ORHandle proxy = nullptr;
                uint8_t value = 0xFF;
                if (ORGenApi_CreateNodeMap(&nodeMap) != 0 ||
                    ORGenApi_LoadDescription(nodeMap, CameraDescription()) != 0 ||
                    ORGenApi_AttachPort(nodeMap, FakeRegisterPort::Read, FakeRegisterPort::Write,
                                        nullptr, &port, "Device") != 0 ||
                    ORGenApi_CreateProxy(nodeMap, nullptr, nullptr, &proxy) != 0 ||
                    ORGenApi_HasNode(proxy, "Width") != 1 ||
                    ORGenApi_ReadPort(proxy, &value, 0, 1) != 0 || value != index)
                    failures.fetch_add(1);
                ORCImg_ReleaseObject(&proxy);
                ORCImg_ReleaseObject(&nodeMap);
            }
        });
    }
    for (std::thread& thread : threads)
        thread.join();
    EXPECT_EQ(failures.load(), 0);
}

TEST_F(NodeMapConcurrency, OneNodeMap_ReadThroughProxiesWhileReattachedAndReloaded) {
    ORHandle nodeMap = nullptr;
    ASSERT_EQ(ORGenApi_CreateNodeMap(&nodeMap), 0);
    ASSERT_EQ(ORGenApi_LoadDescription(nodeMap, CameraDescription()), 0);
    FakeRegisterPort first(16);
    FakeRegisterPort second(16);
    first.bytes()[0] = 1;
    second.bytes()[0] = 2;
    ASSERT_EQ(ORGenApi_AttachPort(nodeMap, FakeRegisterPort::Read, FakeRegisterPort::Write, nullptr,
                                  &first, "Device"),
              0);
    std::atomic<bool> stop{false};
    std::atomic<int> badValues{0};
    std::atomic<int> released{0};
    std::atomic<int> created{0};
    std::vector<std::thread> readers;
    for (int index = 0; index < 4; ++index) {
        readers.emplace_back([&] {
            for (int round = 0; round < 500 && !stop.load(); ++round) {
                ORHandle proxy = nullptr;
                if (ORGenApi_CreateProxy(
                        nodeMap,
                        [](void* context) {
                            static_cast<std::atomic<int>*>(context)->fetch_add(1);
                            return 0;
                        },
                        &released, &proxy) != 0) {
                    badValues.fetch_add(1);
                    continue;
                }
                created.fetch_add(1);
                uint8_t value = 0;
                if (ORGenApi_ReadPort(proxy, &value, 0, 1) != 0 || (value != 1 && value != 2))
                    badValues.fetch_add(1);
                ORGenApi_HasNode(proxy, "Width");
                ORCImg_ReleaseObject(&proxy);
            }
        });
    }
    for (int round = 0; round < 100; ++round) {
        FakeRegisterPort* port = round % 2 == 0 ? &second : &first;
        ORGenApi_AttachPort(nodeMap, FakeRegisterPort::Read, FakeRegisterPort::Write, nullptr, port,
                            round % 2 == 0 ? "DevicePort" : "Device");
        ORGenApi_LoadDescription(nodeMap, CameraDescription());
    }
    stop.store(true);
    for (std::thread& reader : readers)
        reader.join();
    EXPECT_EQ(badValues.load(), 0);
    EXPECT_GT(created.load(), 0);
    EXPECT_EQ(released.load(), created.load());
    ORCImg_ReleaseObject(&nodeMap);
}

} // namespace

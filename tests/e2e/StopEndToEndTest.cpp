// A stop from another thread ends a wait that blocks in the SDK.
#include "e2e/AcquisitionModule.h"

#include <ORV/ResultCodes.h>

#include <simctl/SimControl.h>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <future>

using e2e::AcquisitionModule;
using e2e::MachineSetup;
using namespace std::chrono_literals;

using StopEndToEnd = AcquisitionModule;

TEST_F(StopEndToEnd, StopFromAnotherThread_EndsABlockedWaitAtOnce) {
    MachineSetup setup;
    setup.trigger = "software"; // no trigger ever comes
    Open(setup);
    ASSERT_EQ(Grabber()->SetTimeout(600000), ORV::OK);
    ORV::IGrab2* grab = Grab2();
    ASSERT_EQ(grab->GrabStart(), ORV::OK);

    int32_t index = 3;
    auto waiter = std::async(std::launch::async, [&] { return grab->GrabWait(&index); });
    ASSERT_TRUE(e2e::WaitUntil([] { return SimCtl_CallCount("Fg_WaitImage") >= 1; }));
    EXPECT_EQ(grab->GrabStop(0), ORV::OK);

    // Far below the ten-minute time-out: the stop, not the time-out, ended it.
    ASSERT_EQ(waiter.wait_for(60s), std::future_status::ready);
    EXPECT_EQ(waiter.get(), ORV::E_FAIL);
    EXPECT_EQ(index, 3);
    EXPECT_EQ(DmaCounters().acquiring, 0);
    double active = 1;
    EXPECT_EQ(grab->GrabInfo(5, &active), ORV::OK);
    EXPECT_EQ(active, 0.0);
}

TEST_F(StopEndToEnd, RepeatedGrabsStoppedWhileAnotherThreadWaits) {
    MachineSetup setup;
    setup.frameRate = 1000.0;
    Open(setup);
    ASSERT_EQ(Grabber()->SetTimeout(600000), ORV::OK);
    ORV::IGrab2* grab = Grab2();
    for (int round = 0; round < 5; ++round) {
        ASSERT_EQ(grab->GrabStart(), ORV::OK);
        std::atomic<int> delivered{0};
        auto waiter = std::async(std::launch::async, [&] {
            int32_t index = -1;
            int32_t result = ORV::OK;
            while ((result = grab->GrabWait(&index)) == ORV::OK)
                ++delivered;
            return result;
        });
        ASSERT_TRUE(e2e::WaitUntil([&] { return delivered.load() >= 3; }));
        EXPECT_EQ(grab->GrabStop(0), ORV::OK);
        ASSERT_EQ(waiter.wait_for(60s), std::future_status::ready);
        EXPECT_EQ(waiter.get(), ORV::E_FAIL);
        EXPECT_EQ(DmaCounters().acquiring, 0);
    }
}

// The module's own log lines for a grab stopped from another thread, written by
// the module to the file the local log service configured for it.
#include "e2e/AcquisitionModule.h"
#include "e2e/ModuleLog.h"

#include <ORV/ResultCodes.h>

#include <simctl/SimControl.h>

#include <gtest/gtest.h>

#include <chrono>
#include <future>

using e2e::AcquisitionModule;
using e2e::MachineSetup;
using namespace std::chrono_literals;

using LogLineEndToEnd = AcquisitionModule;

TEST_F(LogLineEndToEnd, StopFromAnotherThread_IsLoggedAsAsyncStop) {
    e2e::ModuleLog service;
    MachineSetup setup;
    setup.trigger = "software";
    Open(setup); // the module's first call: it takes its configuration from the service
    ASSERT_EQ(Grabber()->SetTimeout(600000), ORV::OK);
    ORV::IGrab2* grab = Grab2();
    ASSERT_EQ(grab->GrabStart(), ORV::OK);

    int32_t index = 4;
    auto waiter = std::async(std::launch::async, [&] { return grab->GrabWait(&index); });
    ASSERT_TRUE(e2e::WaitUntil([] { return SimCtl_CallCount("Fg_WaitImage") >= 1; }));
    EXPECT_EQ(grab->GrabStop(0), ORV::OK);
    ASSERT_EQ(waiter.wait_for(60s), std::future_status::ready);
    EXPECT_EQ(waiter.get(), ORV::E_FAIL);

    const std::string log = service.Text();
    EXPECT_NE(log.find("GDRVM [info] \tBoard = 0 | Channel = 0\tGrab2: Grab started"),
              std::string::npos)
        << log;
    EXPECT_NE(log.find("[debug] \tBoard = 0 | Channel = 0\tGrab2: Image requested."),
              std::string::npos);
    EXPECT_NE(log.find("[info] \tBoard = 0 | Channel = 0\tGrab2: async stop of acquesition: 4"),
              std::string::npos);
    EXPECT_NE(log.find("[info] \tBoard = 0 | Channel = 0\tGrab2: Grab stopped"), std::string::npos);
    EXPECT_NE(log.find("Grabber: set timeout = 600000"), std::string::npos);
    ReleaseImage();
}

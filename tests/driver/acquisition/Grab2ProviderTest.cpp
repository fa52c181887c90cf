// CDriverIGrab2: start, wait outcomes as result codes, stop, GRAB_INFO_* and the
// log lines of each.
#include "driver/acquisition/ImagePathRig.h"
#include "driver/acquisition/ProviderLog.h"

#include "acquisition/DriverBufferList.h"
#include "acquisition/DriverIGrab2.h"

#include <ORV/ResultCodes.h>

#include <simctl/SimControl.h>

#include <gtest/gtest.h>

using imagepath::ImagePathRig;
using imagepath::LoggedAt;
using imagepath::LoggedPlain;
using imagepath::RigOptions;
using imagepath::Triggered;
using nwLogging::level_debug;
using nwLogging::level_err;
using nwLogging::level_info;
using nwLogging::level_warn;

namespace {

const std::string kPrefix = "\tBoard = 0 | Channel = 0\tGrab2: ";

} // namespace

TEST(Grab2Provider, StartWaitStop_DeliverRingIndicesAndLogEachStep) {
    ImagePathRig rig;
    CDriverBufferList list(rig.Channel());
    CDriverIGrab2 grab(rig.Channel());
    ScopedCapture capture;

    EXPECT_TRUE(grab.Supported(&list));
    ASSERT_EQ(grab.GrabStart(&list), ORV::OK);
    EXPECT_TRUE(LoggedPlain(capture.target(), kPrefix + "Grab started", level_info));
    for (int32_t want : {0, 1, 2, 0}) {
        int32_t index = -1;
        ASSERT_EQ(grab.GrabWait(&list, &index), ORV::OK);
        EXPECT_EQ(index, want);
    }
    EXPECT_EQ(imagepath::Count(capture.target(), kPrefix + "Image requested."), 4u);
    EXPECT_TRUE(LoggedPlain(capture.target(), kPrefix + "Image acquired: 2", level_debug));
    EXPECT_EQ(grab.GrabStop(&list, 0), ORV::OK);
    EXPECT_TRUE(LoggedPlain(capture.target(), kPrefix + "Grab stopped", level_info));
    EXPECT_FALSE(list.IsAcquiring());
}

TEST(Grab2Provider, WrongStates_FailWithTheBufferListsText) {
    ImagePathRig rig;
    CDriverBufferList list(rig.Channel());
    CDriverIGrab2 grab(rig.Channel());
    ScopedCapture capture;
    int32_t index = 4;

    EXPECT_EQ(grab.GrabStop(&list, 1), ORV::E_FAIL);
    EXPECT_TRUE(LoggedAt(capture.target(),
                         "Not in state \"AcquisitionStarted\" for stopping acquisition", level_err,
                         "DriverIGrab2"));
    EXPECT_EQ(grab.GrabWait(&list, &index), ORV::E_FAIL);
    EXPECT_TRUE(LoggedAt(capture.target(),
                         "Not in state \"AcquesitionStarted\" for acquiring image", level_err,
                         "DriverIGrab2"));
    EXPECT_EQ(index, 4);

    ASSERT_EQ(grab.GrabStart(&list), ORV::OK);
    EXPECT_EQ(grab.GrabStart(&list), ORV::E_FAIL);
    EXPECT_TRUE(LoggedAt(capture.target(), "Not in state \"Allocated\" for starting acquisition",
                         level_err, "DriverIGrab2"));
    EXPECT_TRUE(list.IsAcquiring());
    EXPECT_EQ(grab.GrabWait(&list, &index), ORV::OK);
    // The flag is ignored: 1 stops like 0.
    EXPECT_EQ(grab.GrabStop(&list, 1), ORV::OK);
    EXPECT_EQ(grab.GrabWait(&list, &index), ORV::E_FAIL);
}

TEST(Grab2Provider, StartFailure_IsLoggedWithTheSdkStep) {
    ImagePathRig rig;
    CDriverBufferList list(rig.Channel());
    CDriverIGrab2 grab(rig.Channel());
    ScopedCapture capture;
    SimCtl_FailCall("Fg_AcquireEx", FG_ERR_INVALID_MEMORY, 1);

    EXPECT_EQ(grab.GrabStart(&list), ORV::E_FAIL);
    EXPECT_TRUE(
        LoggedAt(capture.target(), kPrefix + "Error in Fg_AcquireEx", level_err, "DriverIGrab2"));
    EXPECT_FALSE(capture->contains("Grab started"));
    EXPECT_EQ(grab.GrabStart(&list), ORV::OK);
    EXPECT_EQ(grab.GrabStop(&list, 0), ORV::OK);
}

TEST(Grab2Provider, TimeOut_Is0x80000004WithAWarning) {
    ImagePathRig rig(Triggered(3));
    CDriverBufferList list(rig.Channel());
    CDriverIGrab2 grab(rig.Channel());
    ASSERT_EQ(grab.GrabStart(&list), ORV::OK);
    ScopedCapture capture;
    int32_t index = 7;

    EXPECT_EQ(grab.GrabWait(&list, &index), ORV::E_TIMEOUT);
    EXPECT_EQ(index, 7);
    EXPECT_TRUE(LoggedAt(capture.target(), kPrefix + "sdk timout: 7", level_warn, "DriverIGrab2"));
    EXPECT_TRUE(list.IsAcquiring());
    EXPECT_EQ(grab.GrabStop(&list, 0), ORV::OK);
}

TEST(Grab2Provider, OutOfBuffers_IsAFailureLoggedAsInfo) {
    ImagePathRig rig(Triggered(2));
    rig.Channel().SetLockMode(2);
    CDriverBufferList list(rig.Channel());
    CDriverIGrab2 grab(rig.Channel());
    ASSERT_EQ(grab.GrabStart(&list), ORV::OK);
    rig.Trigger(3);
    int32_t index = -1;
    ASSERT_EQ(grab.GrabWait(&list, &index), ORV::OK);
    ASSERT_EQ(grab.GrabWait(&list, &index), ORV::OK);
    ScopedCapture capture;

    EXPECT_EQ(grab.GrabWait(&list, &index), ORV::E_FAIL);
    EXPECT_TRUE(LoggedPlain(capture.target(), kPrefix + "out of buffers: 1", level_info));
    double lost = 0;
    EXPECT_EQ(grab.GrabInfo(&list, CDriverIGrab2::ImagesLost, &lost), ORV::OK);
    EXPECT_EQ(lost, 1.0);
    EXPECT_EQ(grab.GrabInfo(&list, CDriverIGrab2::ImagesLostLocked, &lost), ORV::OK);
    EXPECT_EQ(lost, 1.0);
    EXPECT_EQ(grab.GrabStop(&list, 0), ORV::OK);
}

TEST(Grab2Provider, OtherSdkError_IsAnUnknownError) {
    ImagePathRig rig(Triggered(3));
    CDriverBufferList list(rig.Channel());
    CDriverIGrab2 grab(rig.Channel());
    ASSERT_EQ(grab.GrabStart(&list), ORV::OK);
    SimCtl_FailCall("Fg_WaitImage", FG_ERR_INVALID_ARGUMENT, 1);
    ScopedCapture capture;
    int32_t index = 3;

    EXPECT_EQ(grab.GrabWait(&list, &index), ORV::E_FAIL);
    EXPECT_TRUE(
        LoggedAt(capture.target(), kPrefix + "unkonown error: 3", level_err, "DriverIGrab2"));
    EXPECT_EQ(grab.GrabStop(&list, 0), ORV::OK);
}

TEST(Grab2Provider, GrabInfo_BeforeStart) {
    ImagePathRig rig;
    CDriverBufferList list(rig.Channel());
    CDriverIGrab2 grab(rig.Channel());
    ScopedCapture capture;
    double value = 42.0;

    EXPECT_EQ(grab.GrabInfo(&list, CDriverIGrab2::GrabActive, &value), ORV::OK);
    EXPECT_EQ(value, 0.0);
    EXPECT_TRUE(
        LoggedPlain(capture.target(), kPrefix + "Requested GRAB_INFO_GRAB_ACTIVE", level_debug));
    EXPECT_TRUE(LoggedPlain(capture.target(), kPrefix + "Answer: 0", level_debug));
    for (int32_t command = 0; command <= 4; ++command) {
        value = 42.0;
        EXPECT_EQ(grab.GrabInfo(&list, command, &value), ORV::E_FAIL) << command;
        EXPECT_EQ(value, 42.0);
    }
    EXPECT_TRUE(LoggedAt(capture.target(), "Not in state \"AcquesitionStarted\" for GRAB_INFO_*",
                         level_warn, "DriverIGrab2"));
    EXPECT_EQ(grab.GrabInfo(&list, CDriverIGrab2::Timestamp, &value), ORV::E_FAIL);
    EXPECT_TRUE(LoggedAt(capture.target(), "Error getting timestamp", level_warn, "DriverIGrab2"));
}

TEST(Grab2Provider, GrabInfo_UnknownCommandsLeaveTheValue) {
    ImagePathRig rig;
    CDriverBufferList list(rig.Channel());
    CDriverIGrab2 grab(rig.Channel());
    ScopedCapture capture;
    double value = 42.0;

    EXPECT_EQ(grab.GrabInfo(&list, 7, &value), ORV::E_NOTSUPPORTED);
    EXPECT_EQ(grab.GrabInfo(&list, -1, &value), ORV::E_NOTSUPPORTED);
    EXPECT_EQ(value, 42.0);
    EXPECT_TRUE(LoggedAt(capture.target(), kPrefix + "Unknown grab info parameter: 7", level_warn,
                         "DriverIGrab2"));
    EXPECT_TRUE(capture->contains("Unknown grab info parameter: -1"));
}

TEST(Grab2Provider, GrabInfo_WhileGrabbingAnswersTheSdkCounters) {
    ImagePathRig rig(Triggered(3));
    rig.Channel().SetLockMode(2);
    CDriverBufferList list(rig.Channel());
    CDriverIGrab2 grab(rig.Channel());
    ASSERT_EQ(grab.GrabStart(&list), ORV::OK);
    rig.Trigger(3);
    int32_t index = -1;
    ASSERT_EQ(grab.GrabWait(&list, &index), ORV::OK);
    ASSERT_EQ(grab.GrabWait(&list, &index), ORV::OK);
    ScopedCapture capture;

    const SimCtlDmaCounters counters = DmaCounters();
    const double expected[] = {static_cast<double>(counters.delivered),
                               static_cast<double>(counters.lost),
                               static_cast<double>(counters.lostBlocked),
                               3.0,
                               1.0,
                               1.0,
                               static_cast<double>(BufferRecord(2).timestamp64)};
    for (int32_t command = 0; command <= 6; ++command) {
        double value = -1.0;
        EXPECT_EQ(grab.GrabInfo(&list, command, &value), ORV::OK) << command;
        EXPECT_EQ(value, expected[command]) << command;
        EXPECT_TRUE(
            capture->contains(std::string("Requested ") + CDriverIGrab2::CommandName(command)));
    }
    EXPECT_EQ(expected[0], 3.0);
    EXPECT_TRUE(capture->contains("Requested GRAB_INFO_NUMBER_IMAGES_AQCUIRED"));
    EXPECT_TRUE(capture->contains("Requested GRAB_INFO_NUMBER_IMAGES_PENDIG"));
    EXPECT_TRUE(capture->contains("Answer: 3"));
    EXPECT_EQ(grab.GrabStop(&list, 0), ORV::OK);
}

TEST(Grab2Provider, NoBufferList_EveryOperationIsAnInvalidArgument) {
    ImagePathRig rig;
    CDriverIGrab2 grab(rig.Channel());
    ScopedCapture capture;
    int32_t index = 0;
    double value = 0;

    EXPECT_EQ(grab.GrabStart(nullptr), ORV::E_INVALIDARG);
    EXPECT_EQ(grab.GrabWait(nullptr, &index), ORV::E_INVALIDARG);
    EXPECT_EQ(grab.GrabStop(nullptr, 0), ORV::E_INVALIDARG);
    EXPECT_EQ(grab.GrabInfo(nullptr, CDriverIGrab2::GrabActive, &value), ORV::E_INVALIDARG);
    EXPECT_EQ(imagepath::Count(capture.target(), kPrefix + "No BufferList"), 4u);
    EXPECT_TRUE(LoggedAt(capture.target(), "No BufferList", level_err, "DriverIGrab2"));
    EXPECT_EQ(SimCtl_CallCount("Fg_CreateMemoryHead"), 0);
}

// CDriverIGrabber: snap, the time-out in whole seconds and its log lines.
#include "driver/acquisition/ImagePathRig.h"
#include "driver/acquisition/ProviderLog.h"

#include "acquisition/DriverBufferList.h"
#include "acquisition/DriverIGrabber.h"

#include <ORV/ResultCodes.h>

#include <simctl/SimControl.h>

#include <gtest/gtest.h>

#include <climits>

using imagepath::ImagePathRig;
using imagepath::LoggedAt;
using imagepath::LoggedPlain;
using imagepath::RigOptions;
using nwLogging::level_err;
using nwLogging::level_info;
using nwLogging::level_warn;

namespace {

const char* const kPrefix = "\tBoard = 0 | Channel = 0\tGrabber: ";

int64_t Delivered() {
    SimCtlDmaCounters counters{};
    EXPECT_EQ(SimCtl_GetDmaCounters(0, 0, &counters), SIMCTL_OK);
    return counters.delivered;
}

} // namespace

TEST(GrabberProvider, Snap_TakesOneImageAndStopsAgain) {
    ImagePathRig rig;
    CDriverBufferList list(rig.Channel());
    CDriverIGrabber grabber(rig.Channel());
    ScopedCapture capture;

    EXPECT_TRUE(grabber.Supported(&list));
    EXPECT_EQ(grabber.Snap(&list), ORV::OK);
    EXPECT_EQ(list.GetState(), CDriverBufferList::State::Allocated);
    EXPECT_EQ(list.LastPictureNumber(), 1u);
    EXPECT_EQ(list.CurrentImage(), list.BufferAddress(0));
    EXPECT_GE(Delivered(), 1);
    EXPECT_TRUE(LoggedPlain(capture.target(), std::string(kPrefix) + "Image snaped", level_info));
}

TEST(GrabberProvider, Snap_WithoutAnImageStillSucceedsAndStops) {
    RigOptions options;
    options.dma.trigger = "software";
    ImagePathRig rig(options);
    CDriverBufferList list(rig.Channel());
    CDriverIGrabber grabber(rig.Channel());
    ScopedCapture capture;

    EXPECT_EQ(grabber.Snap(&list), ORV::OK);
    EXPECT_EQ(list.GetState(), CDriverBufferList::State::Allocated);
    EXPECT_EQ(list.ImagesAcquired(), 0u);
    EXPECT_TRUE(capture->contains("Image snaped"));
}

TEST(GrabberProvider, Snap_WhileStreamingFailsAndTheGrabGoesOn) {
    ImagePathRig rig;
    CDriverBufferList list(rig.Channel());
    CDriverIGrabber grabber(rig.Channel());
    list.StartAcquisition();
    ScopedCapture capture;

    EXPECT_EQ(grabber.Snap(&list), ORV::E_FAIL);
    EXPECT_TRUE(list.IsAcquiring());
    EXPECT_TRUE(LoggedAt(capture.target(), "Not in state \"Allocated\" for starting acquisition",
                         level_err, "DriverIGrabber"));
    list.StopAcquisition();
}

TEST(GrabberProvider, Snap_FailingWaitStillStopsTheDma) {
    ImagePathRig rig;
    CDriverBufferList list(rig.Channel());
    CDriverIGrabber grabber(rig.Channel());
    SimCtl_FailCall("Fg_GetBufferParameter", FG_ERR_INVALID_MEMORY, 1);
    ScopedCapture capture;

    EXPECT_EQ(grabber.Snap(&list), ORV::E_FAIL);
    EXPECT_EQ(list.GetState(), CDriverBufferList::State::Allocated);
    SimCtlDmaCounters counters{};
    ASSERT_EQ(SimCtl_GetDmaCounters(0, 0, &counters), SIMCTL_OK);
    EXPECT_EQ(counters.acquiring, 0);
    EXPECT_TRUE(LoggedAt(capture.target(), "Error getting DMA transfer length", level_err,
                         "DriverIGrabber"));
    EXPECT_FALSE(capture->contains("Image snaped"));
    EXPECT_EQ(grabber.Snap(&list), ORV::OK); // and the next snap works
}

TEST(GrabberProvider, SnapArea_IsNotSupported) {
    ImagePathRig rig;
    CDriverBufferList list(rig.Channel());
    CDriverIGrabber grabber(rig.Channel());
    EXPECT_EQ(grabber.SnapArea(&list, 1, 2, 3), ORV::E_NOTSUPPORTED);
    EXPECT_EQ(list.GetState(), CDriverBufferList::State::Allocated);
}

TEST(GrabberProvider, NoBufferList_IsAnInvalidArgument) {
    ImagePathRig rig;
    CDriverIGrabber grabber(rig.Channel());
    ScopedCapture capture;
    EXPECT_EQ(grabber.Snap(nullptr), ORV::E_INVALIDARG);
    EXPECT_TRUE(LoggedAt(capture.target(), "No BufferList", level_err, "DriverIGrabber"));
    EXPECT_EQ(SimCtl_CallCount("Fg_CreateMemoryHead"), 0);
}

TEST(GrabberProvider, SetTimeout_StoresWholeSecondsAndAtLeastOne) {
    ImagePathRig rig;
    CDriverIGrabber grabber(rig.Channel());
    ScopedCapture capture;
    const std::string warning =
        "Timeouts below one second are not supported, timeout is set to 1 second";
    uint32_t milliseconds = 0;

    EXPECT_EQ(grabber.SetTimeout(999), ORV::OK);
    EXPECT_TRUE(
        LoggedAt(capture.target(), std::string(kPrefix) + warning, level_warn, "DriverIGrabber"));
    EXPECT_TRUE(
        LoggedPlain(capture.target(), std::string(kPrefix) + "set timeout = 999", level_info));
    EXPECT_EQ(grabber.GetTimeout(&milliseconds), ORV::OK);
    EXPECT_EQ(milliseconds, 1000u);
    EXPECT_TRUE(LoggedPlain(capture.target(), std::string(kPrefix) + "timeout (in seconds) = 1",
                            level_info));

    capture->clear();
    EXPECT_EQ(grabber.SetTimeout(2500), ORV::OK);
    EXPECT_FALSE(capture->contains(warning));
    EXPECT_EQ(rig.Channel().TimeoutSeconds(), 2u);
    EXPECT_EQ(grabber.GetTimeout(&milliseconds), ORV::OK);
    EXPECT_EQ(milliseconds, 2000u);

    EXPECT_EQ(grabber.SetTimeout(1500), ORV::OK);
    EXPECT_EQ(grabber.GetTimeout(&milliseconds), ORV::OK);
    EXPECT_EQ(milliseconds, 1000u);

    capture->clear();
    EXPECT_EQ(grabber.SetTimeout(-1), ORV::OK);
    EXPECT_TRUE(capture->contains(warning));
    EXPECT_TRUE(capture->contains("set timeout = -1"));
    EXPECT_EQ(grabber.GetTimeout(&milliseconds), ORV::OK);
    EXPECT_EQ(milliseconds, 1000u);

    // 2147483648 or more from the host arrives negative.
    EXPECT_EQ(grabber.SetTimeout(INT32_MIN), ORV::OK);
    EXPECT_EQ(grabber.GetTimeout(&milliseconds), ORV::OK);
    EXPECT_EQ(milliseconds, 1000u);
    EXPECT_EQ(grabber.GetTimeout(nullptr), ORV::E_INVALIDARG);
}

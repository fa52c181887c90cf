// The framework's locks as a host meets them: what a grab keeps others from
// doing, on the same image and on a second image of the same channel, and an
// image that has expired.
#include "e2e/AcquisitionModule.h"

#include <ORV/ICameraSelect2.h>
#include <ORV/IImageRect.h>
#include <ORV/ResultCodes.h>

#include <simctl/SimControl.h>

#include <gtest/gtest.h>

using e2e::AcquisitionModule;
using e2e::MachineSetup;

using GrabLocksEndToEnd = AcquisitionModule;

TEST_F(GrabLocksEndToEnd, WhileGrabbing_ImageChangesAndTheCameraSwitchAreBusy) {
    MachineSetup setup;
    setup.dmas = 2;
    Open(setup);
    auto* rect = Find<ORV::IImageRect>(Image());
    auto* cameras = Find<ORV::ICameraSelect2>(Image());
    ASSERT_NE(rect, nullptr);
    ASSERT_NE(cameras, nullptr);
    ASSERT_EQ(Grab2()->GrabStart(), ORV::OK);

    for (uint32_t action : {1u, 3u, 4u}) {
        int32_t width = 32;
        int32_t height = 16;
        orvhost::HostObject replaced;
        EXPECT_EQ(rect->ImageSize(action, &width, &height, replaced.out()), ORV::E_BUSY)
            << "ImageSize action " << action;
        EXPECT_FALSE(replaced);
    }
    int32_t x = 8;
    int32_t y = 8;
    EXPECT_EQ(rect->ImageOffset(3, &x, &y), ORV::E_BUSY);
    orvhost::HostObject switched;
    EXPECT_EQ(cameras->SetCamera(1, switched.out()), ORV::E_BUSY);
    EXPECT_FALSE(switched);

    // Nothing changed under the grab.
    int32_t width = 0;
    int32_t height = 0;
    EXPECT_EQ(rect->ImageSize(0, &width, &height, nullptr), ORV::OK);
    EXPECT_EQ(width, 64);
    EXPECT_EQ(height, 48);
    int32_t index = -1;
    EXPECT_EQ(Grab2()->GrabWait(&index), ORV::OK);
    EXPECT_EQ(Grab2()->GrabStop(0), ORV::OK);

    EXPECT_EQ(cameras->SetCamera(1, switched.out()), ORV::OK);
    EXPECT_TRUE(switched);
}

TEST_F(GrabLocksEndToEnd, SecondImageOfTheChannel_CannotStartWhileTheFirstGrabs) {
    Open();
    orvhost::HostObject second = OpenAnotherImage();
    ASSERT_TRUE(second);
    auto* secondGrab = Find<ORV::IGrab2>(second.get());
    auto* secondGrabber = Find<ORV::IGrabber>(second.get());
    ASSERT_NE(secondGrab, nullptr);
    ASSERT_NE(secondGrabber, nullptr);

    ASSERT_EQ(Grab2()->GrabStart(), ORV::OK);
    EXPECT_EQ(secondGrab->GrabStart(), ORV::E_BUSY);
    EXPECT_EQ(secondGrabber->Snap(), ORV::E_BUSY);
    EXPECT_EQ(secondGrab->GrabStop(0), ORV::E_BUSY); // it started nothing
    EXPECT_EQ(DmaCounters().acquiring, 1);
    EXPECT_EQ(Grab2()->GrabStop(0), ORV::OK);

    // The channel is free again for the other image.
    EXPECT_EQ(secondGrabber->Snap(), ORV::OK);
    ASSERT_EQ(secondGrab->GrabStart(), ORV::OK);
    EXPECT_EQ(Grab2()->GrabStart(), ORV::E_BUSY);
    EXPECT_EQ(secondGrab->GrabStop(0), ORV::OK);
}

TEST_F(GrabLocksEndToEnd, ExpiredImage_GrabStartIs0x80000010) {
    Open();
    ORV::IGrab2* grab = Grab2();
    // The new image is released as soon as it is made: the old image's tables
    // answer for an image that has expired.
    int32_t count = 4;
    ASSERT_EQ(Ring()->NumBuffers(1, &count, nullptr), ORV::OK);
    EXPECT_EQ(grab->GrabStart(), ORV::E_EXPIRED);
    EXPECT_EQ(DmaCounters().acquiring, 0);
}

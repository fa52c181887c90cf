// The framework's locks and image replacement as a host meets them: what a grab
// keeps others from doing, on the same image and on a second image of the same
// channel, an image that has expired, the board switch's failures and the order
// of the image-changed callback's stages.
#include "e2e/AcquisitionModule.h"

#include <ORV/IBoardSelect2.h>
#include <ORV/ICameraSelect2.h>
#include <ORV/IImageRect.h>
#include <ORV/IPropertyChange.h>
#include <ORV/ResultCodes.h>

#include <simctl/SimControl.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

using e2e::AcquisitionModule;
using e2e::MachineSetup;

namespace {

void RecordStage(void* user, int32_t stage) {
    static_cast<std::vector<int32_t>*>(user)->push_back(stage);
}

} // namespace

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
    EXPECT_EQ(e2e::DmaCounters().acquiring, 1);
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
    EXPECT_EQ(e2e::DmaCounters().acquiring, 0);
}

TEST_F(GrabLocksEndToEnd, ImageChanged_StagesZeroTwoOneAroundARectangleChange) {
    Open();
    auto* rect = Find<ORV::IImageRect>(Image());
    auto* change = Find<ORV::IPropertyChange>(Image());
    ASSERT_NE(rect, nullptr);
    ASSERT_NE(change, nullptr);
    std::vector<int32_t> stages;
    ASSERT_EQ(change->SetImageChangedCallback(RecordStage, &stages), ORV::OK);

    int32_t width = 32;
    int32_t height = 16;
    orvhost::HostObject replaced;
    ASSERT_EQ(rect->ImageSize(1, &width, &height, replaced.out()), ORV::OK);
    ASSERT_TRUE(replaced);
    EXPECT_EQ(stages, (std::vector<int32_t>{0, 2, 1}));

    // Refused under a grab: only stage 0 comes, before the lock is tried.
    HoldImage(replaced.release());
    stages.clear();
    ASSERT_EQ(Grab2()->GrabStart(), ORV::OK);
    EXPECT_EQ(rect->ImageSize(1, &width, &height, replaced.out()), ORV::E_BUSY);
    EXPECT_EQ(stages, (std::vector<int32_t>{0}));
    EXPECT_EQ(Grab2()->GrabStop(0), ORV::OK);
    EXPECT_EQ(change->ClearImageChangedCallback(), ORV::OK);
}

TEST_F(GrabLocksEndToEnd, SetBoard_RefusedBoardAndMissingChannel) {
    struct Case {
        const char* name;
        const char* board1;        // the second board of the machine
        const char* configuration; // its lines in ORSisoMe.ini
        int32_t result;
    };
    const Case cases[] = {
        // The board cannot be opened (its applet file is missing): the framework's
        // exception carries the producer's code.
        {"refused board", "[board1]\ntype = 1873\ndmas = 1\n",
         "\n[BOARD1]\ninifilemcf=%ORVDATA%Drivers\\missing.mcf\n", 1},
        // The board opens but offers no DMA, so there is no channel 0.
        {"no channel", "[board1]\ntype = 1873\ndmas = 0\n",
         "\n[BOARD1]\ninifilemcf=%ORVDATA%Drivers\\acq.mcf\n", ORV::E_FAIL}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        MachineSetup setup;
        setup.machineSections = c.board1;
        setup.configurationLines = c.configuration;
        Open(setup);
        auto* boards = Find<ORV::IBoardSelect2>(Image());
        ASSERT_NE(boards, nullptr);
        int32_t count = 0;
        ASSERT_EQ(boards->GetBoardCount(&count), ORV::OK);
        ASSERT_EQ(count, 2);

        orvhost::HostObject switched;
        EXPECT_EQ(boards->SetBoard(1, switched.out()), c.result);
        EXPECT_FALSE(switched);
        int32_t current = -1;
        EXPECT_EQ(boards->GetCurrentBoard(&current), ORV::OK);
        EXPECT_EQ(current, 0);
        // The image still grabs on its board.
        EXPECT_EQ(Grabber()->Snap(), ORV::OK);
        Close();
    }
}

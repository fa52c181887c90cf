// Snap and GrabStart on one image from two threads at once: whichever comes
// second is refused with the busy code or waits its turn; nothing hangs, no
// acquisition is left running and nothing outlives the image.
#include "e2e/AcquisitionModule.h"

#include <ORV/ResultCodes.h>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <future>

using e2e::AcquisitionModule;
using namespace std::chrono_literals;

using SnapRaceEndToEnd = AcquisitionModule;

TEST_F(SnapRaceEndToEnd, SnapAgainstGrabStart_TheLoserIsBusyAndNothingIsLeftRunning) {
    Open();
    ORV::IGrabber* grabber = Grabber();
    ORV::IGrab2* grab = Grab2();
    int snapsRefused = 0;
    for (int round = 0; round < 20; ++round) {
        std::atomic<int> ready{0};
        const auto together = [&ready] {
            ready.fetch_add(1);
            while (ready.load() < 2) {
                // both threads leave this loop at about the same time
            }
        };
        auto snap = std::async(std::launch::async, [&] {
            together();
            return grabber->Snap();
        });
        auto start = std::async(std::launch::async, [&] {
            together();
            return grab->GrabStart();
        });
        ASSERT_EQ(snap.wait_for(60s), std::future_status::ready) << "round " << round;
        ASSERT_EQ(start.wait_for(60s), std::future_status::ready) << "round " << round;
        // The start waits for the state lock a snap holds; a snap finds the
        // started grab's locks taken.
        const int32_t snapped = snap.get();
        EXPECT_TRUE(snapped == ORV::OK || snapped == ORV::E_BUSY) << snapped;
        snapsRefused += snapped == ORV::E_BUSY ? 1 : 0;
        EXPECT_EQ(start.get(), ORV::OK) << "round " << round;
        int32_t index = -1;
        EXPECT_EQ(grab->GrabWait(&index), ORV::OK);
        EXPECT_EQ(grab->GrabStop(0), ORV::OK);
        EXPECT_EQ(DmaCounters().acquiring, 0);
    }
    RecordProperty("snapsRefused", snapsRefused);
}

// A stop from another thread while a wait blocks in the SDK, and status queries
// racing the acquisition. Run under ThreadSanitizer in CI.
#include "driver/acquisition/ImagePathRig.h"
#include "driver/acquisition/ProviderLog.h"

#include "acquisition/DriverBufferList.h"
#include "acquisition/DriverIGrab2.h"
#include "acquisition/DriverIRingBuffer.h"

#include <ORV/ResultCodes.h>

#include <simctl/SimControl.h>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <future>
#include <thread>

using imagepath::ImagePathRig;
using imagepath::RigOptions;
using imagepath::Triggered;
using namespace std::chrono_literals;

namespace {

/// Far beyond every bound below: a wait that ends at all ends because of a stop.
constexpr uint32_t kLongTimeoutSeconds = 600;

} // namespace

TEST(ImagePathConcurrency, StopFromAnotherThread_EndsABlockedWaitWithAsyncStop) {
    ImagePathRig rig(Triggered());
    rig.Channel().SetTimeoutSeconds(kLongTimeoutSeconds);
    CDriverBufferList list(rig.Channel());
    CDriverIGrab2 grab(rig.Channel());
    ScopedCapture capture;
    ASSERT_EQ(grab.GrabStart(&list), ORV::OK);

    int32_t index = 6;
    auto waiter = std::async(std::launch::async, [&] { return grab.GrabWait(&list, &index); });
    ASSERT_TRUE(imagepath::WaitUntil([] { return SimCtl_CallCount("Fg_WaitImage") >= 1; }));
    EXPECT_EQ(grab.GrabStop(&list, 0), ORV::OK);

    ASSERT_EQ(waiter.wait_for(60s), std::future_status::ready) << "the stop did not end the wait";
    EXPECT_EQ(waiter.get(), ORV::E_FAIL);
    EXPECT_EQ(index, 6);
    EXPECT_TRUE(imagepath::LoggedPlain(
        capture.target(), "\tBoard = 0 | Channel = 0\tGrab2: async stop of acquesition: 6",
        nwLogging::level_info));
    EXPECT_FALSE(list.IsAcquiring());
}

TEST(ImagePathConcurrency, StopFromAnotherThread_WhileTheWaiterCollectsImages) {
    RigOptions options;
    options.dma.frameRate = 2000.0;
    ImagePathRig rig(options);
    rig.Channel().SetTimeoutSeconds(kLongTimeoutSeconds);
    CDriverBufferList list(rig.Channel());
    CDriverIGrab2 grab(rig.Channel());
    CDriverIRingBuffer ring(rig.Channel());

    for (int round = 0; round < 10; ++round) {
        ASSERT_EQ(grab.GrabStart(&list), ORV::OK);
        std::atomic<int> delivered{0};
        std::atomic<bool> finished{false};
        auto waiter = std::async(std::launch::async, [&] {
            int32_t index = -1;
            int32_t result = ORV::OK;
            while ((result = grab.GrabWait(&list, &index)) == ORV::OK)
                ++delivered;
            finished = true;
            return result;
        });
        auto observer = std::async(std::launch::async, [&] {
            // Status questions from a third thread while images arrive and stop.
            double value = 0;
            uint8_t locked = 0;
            while (!finished) {
                grab.GrabInfo(&list, CDriverIGrab2::GrabActive, &value);
                grab.GrabInfo(&list, CDriverIGrab2::ImagesLocked, &value);
                ring.IsLocked(&list, 0, &locked);
            }
        });
        ASSERT_TRUE(imagepath::WaitUntil([&] { return delivered.load() >= 5; }));
        EXPECT_EQ(grab.GrabStop(&list, 0), ORV::OK);
        ASSERT_EQ(waiter.wait_for(60s), std::future_status::ready);
        // A wait that began before the stop ends stopped; one after it is refused.
        EXPECT_EQ(waiter.get(), ORV::E_FAIL);
        observer.get();
        EXPECT_FALSE(list.IsAcquiring());
    }
}

TEST(ImagePathConcurrency, UnlockFromAnotherThread_FreesTheRingForTheWaiter) {
    RigOptions options = Triggered();
    options.buffers = 2;
    ImagePathRig rig(options);
    rig.Channel().SetLockMode(2);
    rig.Channel().SetTimeoutSeconds(kLongTimeoutSeconds);
    CDriverBufferList list(rig.Channel());
    CDriverIRingBuffer ring(rig.Channel());
    list.StartAcquisition();
    rig.Trigger(2);
    int32_t index = -1;
    ASSERT_EQ(list.WaitForImage(index), CDriverBufferList::WaitDelivered);
    ASSERT_EQ(list.WaitForImage(index), CDriverBufferList::WaitDelivered);

    auto waiter = std::async(std::launch::async, [&] {
        int32_t next = -1;
        const int32_t outcome = list.WaitForImage(next);
        return outcome == CDriverBufferList::WaitDelivered ? next : -outcome - 1;
    });
    ASSERT_TRUE(imagepath::WaitUntil([] { return SimCtl_CallCount("Fg_WaitImage") >= 3; }));
    EXPECT_EQ(ring.UnlockBuffer(&list, 0), ORV::OK);
    rig.Trigger(1);
    ASSERT_EQ(waiter.wait_for(60s), std::future_status::ready);
    EXPECT_EQ(waiter.get(), 0);
    list.StopAcquisition();
}

#include <platform/Sleep.h>

#include <gtest/gtest.h>

#include <atomic>
#include <boost/chrono/duration.hpp>
#include <boost/thread/thread.hpp>

using namespace platform;

TEST(SleepTest, InterruptibleSleep_InterruptedThread_WakesWithThreadInterrupted) {
    std::atomic<bool> interrupted{false};
    std::atomic<bool> returned{false};
    boost::thread sleeper([&] {
        try {
            InterruptibleSleep(600000);
            returned = true;
        } catch (const boost::thread_interrupted&) {
            interrupted = true;
        }
    });
    sleeper.interrupt();
    ASSERT_TRUE(sleeper.try_join_for(boost::chrono::seconds(60)));
    EXPECT_TRUE(interrupted);
    EXPECT_FALSE(returned);
}

TEST(SleepTest, InterruptibleSleep_ZeroLength_ReturnsAndStillHonoursInterruption) {
    InterruptibleSleep(0); // outside a boost::thread: just returns
    std::atomic<bool> interrupted{false};
    boost::thread sleeper([&] {
        // The request is pending before the sleep starts; even a zero sleep sees it.
        while (!boost::this_thread::interruption_requested())
            boost::this_thread::yield();
        try {
            InterruptibleSleep(0);
        } catch (const boost::thread_interrupted&) {
            interrupted = true;
        }
    });
    sleeper.interrupt();
    ASSERT_TRUE(sleeper.try_join_for(boost::chrono::seconds(60)));
    EXPECT_TRUE(interrupted);
}

#include "platform/Event.h"
#include "platform/PeriodicTimer.h"
#include "platform/Tick.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

namespace sonavel {
namespace {

TEST(EventTest, TimedWaitReportsTimeoutAndSignal)
{
    Event event;
    const uint64_t before = TickMs64();
    EXPECT_FALSE(event.Wait(30));
    EXPECT_GE(TickMs64() - before, 29u);

    std::thread setter([&event] { event.Set(); });
    EXPECT_TRUE(event.Wait(5000));
    setter.join();
    // Manual reset: stays signalled.
    EXPECT_TRUE(event.Wait(0));
    event.Reset();
    EXPECT_FALSE(event.IsSet());
}

TEST(EventTest, AutoResetReleasesOneWait)
{
    Event event(false, true);
    EXPECT_TRUE(event.Wait(0));
    EXPECT_FALSE(event.Wait(0));
}

TEST(PeriodicTimerTest, TicksUntilStopped)
{
    std::atomic<int> ticks{0};
    Event third;
    PeriodicTimer timer;
    ASSERT_TRUE(timer.Start(5, [&] {
        if (++ticks == 3) {
            third.Set();
        }
    }));
    EXPECT_FALSE(timer.Start(5, [] {}));
    EXPECT_TRUE(third.Wait(5000));
    timer.Stop();
    const int stopped = ticks.load();
    EXPECT_GE(stopped, 3);
    EXPECT_FALSE(timer.IsRunning());
    EXPECT_EQ(ticks.load(), stopped);
}

} // namespace
} // namespace sonavel

#include "platform/MessageThread.h"

#include <gtest/gtest.h>

#include <vector>

namespace sonavel {
namespace {

TEST(MessageQueueTest, PeekKeepsOrRemovesInPostOrder)
{
    MessageQueue queue;
    ThreadMessage message;
    EXPECT_FALSE(queue.Peek(message, true));

    queue.Post(WM_APP + 1, 10, -1);
    queue.Post(WM_APP + 2, 20, -2);
    ASSERT_TRUE(queue.Peek(message, false));
    EXPECT_EQ(message.message, WM_APP + 1);
    EXPECT_EQ(queue.Size(), 2u);

    ASSERT_TRUE(queue.Peek(message, true));
    EXPECT_EQ(message.wParam, 10u);
    ASSERT_TRUE(queue.Peek(message, true));
    EXPECT_EQ(message.message, WM_APP + 2);
    EXPECT_EQ(message.lParam, -2);
    EXPECT_FALSE(queue.Peek(message, false));
}

TEST(MessageThreadTest, BodyReceivesPostsUntilQuitAndEnds)
{
    std::vector<uint32_t> received;
    MessageThread thread;
    ASSERT_TRUE(thread.Start([&received](MessageQueue& queue) {
        ThreadMessage message;
        while (queue.Get(message)) {
            received.push_back(message.message);
        }
    }));
    EXPECT_FALSE(thread.Start([](MessageQueue&) {}));
    for (uint32_t i = 0; i < 100; ++i) {
        ASSERT_TRUE(thread.Post(WM_APP + i));
    }
    thread.PostQuit();
    ASSERT_TRUE(thread.WaitForExit(5000));
    ASSERT_EQ(received.size(), 100u);
    for (uint32_t i = 0; i < 100; ++i) {
        EXPECT_EQ(received[i], WM_APP + i);
    }
    // A thread that has ended takes no more messages.
    EXPECT_FALSE(thread.Post(WM_APP));
}

TEST(MessageThreadTest, WaitForExitTimesOutWhileTheBodyRuns)
{
    Event release;
    MessageThread thread;
    thread.Start([&release](MessageQueue&) { release.Wait(); });
    EXPECT_FALSE(thread.WaitForExit(20));
    EXPECT_TRUE(thread.IsRunning());
    release.Set();
    EXPECT_TRUE(thread.WaitForExit(5000));
}

} // namespace
} // namespace sonavel

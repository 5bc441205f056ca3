#include "framework/platform/FNThreadMessageQueue.h"

#include <gtest/gtest.h>

#include <poll.h>

#include <thread>
#include <vector>

static bool readable(int descriptor)
{
    pollfd entry { descriptor, POLLIN, 0 };
    return poll(&entry, 1, 0) == 1 && (entry.revents & POLLIN);
}

TEST(FNThreadMessageQueue, FirstInFirstOutAndReadableWhileNotEmpty)
{
    FNThreadMessageQueue queue;
    ASSERT_GE(queue.Descriptor(), 0);
    EXPECT_TRUE(queue.Empty());
    EXPECT_FALSE(readable(queue.Descriptor()));
    queue.Post(2050, 11);
    queue.Post(2055, 22);
    EXPECT_TRUE(readable(queue.Descriptor()));
    FNThreadMessage message;
    ASSERT_TRUE(queue.Take(message));
    EXPECT_EQ(message.message, 2050);
    EXPECT_EQ(message.param, 11u);
    // One message left: still readable.
    EXPECT_TRUE(readable(queue.Descriptor()));
    ASSERT_TRUE(queue.Take(message));
    EXPECT_EQ(message.message, 2055);
    EXPECT_EQ(message.param, 22u);
    EXPECT_FALSE(queue.Take(message));
    EXPECT_FALSE(readable(queue.Descriptor()));
}

TEST(FNThreadMessageQueue, EachSendersOrderSurvivesConcurrentPosting)
{
    FNThreadMessageQueue queue;
    constexpr int perThread = 2000;
    std::vector<std::thread> senders;
    for (int sender = 0; sender < 3; ++sender) {
        senders.emplace_back([&queue, sender] {
            for (int i = 0; i < perThread; ++i)
                queue.Post(sender, static_cast<uintptr_t>(i));
        });
    }
    int next[3] = {};
    int taken = 0;
    while (taken < 3 * perThread) {
        FNThreadMessage message;
        if (!queue.Take(message)) {
            std::this_thread::yield();
            continue;
        }
        ASSERT_EQ(message.param, static_cast<uintptr_t>(next[message.message]));
        ++next[message.message];
        ++taken;
    }
    for (std::thread& sender : senders)
        sender.join();
    EXPECT_TRUE(queue.Empty());
    EXPECT_FALSE(readable(queue.Descriptor()));
}

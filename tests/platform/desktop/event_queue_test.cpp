// The event queue: first in, first out through every way of adding and taking, including a
// queue that never empties and so has to move its elements down now and then.
#include "platform/desktop/event_queue.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <deque>

namespace brimlox::desktop {
namespace {

TEST(EventQueueTest, BehavesLikeADequeUnderAMixOfOperations) {
    EventQueue<int> queue;
    std::deque<int> model;
    auto same = [&] { return std::equal(queue.begin(), queue.end(), model.begin(), model.end()); };
    int next = 0;
    for (int round = 0; round < 2000; ++round) {
        // Keep 0 to ~100 elements around, never letting the queue drain for long stretches.
        const int op = (round * 7919) % 10;
        if (op < 5 || model.empty()) {
            queue.push_back(next);
            model.push_back(next++);
        } else if (op < 8) {
            EXPECT_EQ(queue.front(), model.front());
            queue.pop_front();
            model.pop_front();
        } else if (op == 8) {
            queue.push_front(next);
            model.push_front(next++);
        } else {
            const auto at = static_cast<std::ptrdiff_t>(model.size() / 2);
            queue.erase(queue.begin() + at);
            model.erase(model.begin() + at);
        }
        ASSERT_EQ(queue.size(), model.size()) << "round " << round;
        ASSERT_TRUE(same()) << "round " << round;
    }
    // Removing a filtered set, as the message queue does for a destroyed window.
    queue.erase(std::remove_if(queue.begin(), queue.end(), [](int v) { return v % 3 == 0; }), queue.end());
    model.erase(std::remove_if(model.begin(), model.end(), [](int v) { return v % 3 == 0; }), model.end());
    EXPECT_TRUE(same());
    queue.erase(queue.begin(), queue.end());
    EXPECT_TRUE(queue.empty());
    queue.push_front(5);
    EXPECT_EQ(queue.front(), 5);
}

}  // namespace
}  // namespace brimlox::desktop

#include "platform/linux/process/FirstLane.h"

#include <atomic>
#include <gtest/gtest.h>
#include <thread>
#include <vector>

namespace rondelix::platform::linux_desktop {
namespace {

// Readers of the X server add steps while the main thread runs them: every
// step runs once, each thread's in the order it added them, also when a step
// adds another while the lane runs.
TEST(FirstLaneTest, StepsAddedFromManyThreadsRunOnceEachInTheirOrder) {
    FirstLane lane;
    constexpr int threads = 4, steps = 5000;
    std::vector<std::vector<int>> ran(threads);
    std::atomic<int> added = 0;
    std::vector<std::thread> adders;
    for (int t = 0; t < threads; ++t)
        adders.emplace_back([&, t] {
            for (int i = 0; i < steps; ++i) {
                lane.add([&, t, i] {
                    ran[static_cast<std::size_t>(t)].push_back(i);
                    if (i == steps - 1)
                        lane.add([&, t] { ran[static_cast<std::size_t>(t)].push_back(steps); });
                });
                ++added;
            }
        });
    while (added < threads * steps)
        lane.runAll();
    for (auto& adder : adders)
        adder.join();
    lane.runAll();
    for (const auto& order : ran) {
        ASSERT_EQ(order.size(), static_cast<std::size_t>(steps + 1));
        for (int i = 0; i <= steps; ++i)
            EXPECT_EQ(order[static_cast<std::size_t>(i)], i);
    }
}

} // namespace
} // namespace rondelix::platform::linux_desktop

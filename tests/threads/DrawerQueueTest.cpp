#include "platform/linux/process/DrawerQueue.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <future>
#include <gtest/gtest.h>
#include <limits>
#include <memory>
#include <thread>
#include <vector>

namespace rondelix::platform::linux_desktop {
namespace {

constexpr double unlimited = std::numeric_limits<double>::infinity();

std::shared_ptr<FairTurns::Account> account(double spent) {
    return std::make_shared<FairTurns::Account>(FairTurns::Account{unlimited, spent});
}

void raiseTo(std::atomic<int>& most, int value) {
    for (int seen = most; value > seen && !most.compare_exchange_weak(seen, value);) {
    }
}

// Callers on many threads, some for accounts that have drawn costly
// drawings, take turns over and over: never more drawers run at once than
// there are, the costly accounts always leave one to the others, every turn
// comes, and each account is charged exactly what its turns used.
TEST(DrawerQueueTest, ManyCallersNeverHoldMoreDrawersThanThereAreAndCostlyOnesLeaveOneFree) {
    constexpr int drawers = 3, callers = 8, turnsEach = 300;
    DrawerQueue queue(drawers);
    std::atomic<int> holding = 0, costlyHolding = 0, mostHolding = 0, mostCostly = 0, done = 0;
    std::vector<std::shared_ptr<FairTurns::Account>> accounts;
    for (int caller = 0; caller < callers; ++caller)
        accounts.push_back(account(caller % 2 ? 6 : 0));
    std::vector<std::thread> threads;
    for (int caller = 0; caller < callers; ++caller)
        threads.emplace_back([&, caller] {
            const bool costly = caller % 2;
            for (int i = 0; i < turnsEach; ++i) {
                auto turn = queue.take(accounts[caller]);
                if (!turn) return;
                raiseTo(mostHolding, ++holding);
                if (costly) raiseTo(mostCostly, ++costlyHolding);
                std::this_thread::yield();
                if (costly) --costlyHolding;
                --holding;
                turn->charge(costly ? 0.5 : 0);
                ++done;
            }
        });
    for (auto& thread : threads)
        thread.join();
    EXPECT_EQ(done, callers * turnsEach);
    EXPECT_LE(mostHolding, drawers);
    EXPECT_LE(mostCostly, drawers - 1);
    for (int caller = 0; caller < callers; ++caller)
        EXPECT_EQ(accounts[caller]->spent, caller % 2 ? 6 + 0.5 * turnsEach : 0) << caller;
}

// A quit while drawers run and callers wait for one: every waiting caller is
// answered at once, with no drawer, as is every later one; the turns held end
// when their drawings do.
TEST(DrawerQueueTest, AQuitWhileDrawersRunAnswersEveryWaitingCallerAtOnce) {
    DrawerQueue queue(2);
    const auto running = account(0);
    auto first = queue.take(running);
    auto second = queue.take(running);
    ASSERT_TRUE(first && second);
    std::vector<std::future<bool>> waiting;
    for (int caller = 0; caller < 4; ++caller)
        waiting.push_back(
            std::async(std::launch::async, [&queue] { return queue.take(account(0)).has_value(); }));
    queue.close();
    for (auto& caller : waiting) {
        ASSERT_EQ(caller.wait_for(std::chrono::seconds(30)), std::future_status::ready);
        EXPECT_FALSE(caller.get());
    }
    EXPECT_FALSE(queue.take(account(0)));
    first->charge(2);
    first.reset();
    second.reset();
    EXPECT_EQ(running->spent, 2);
}

} // namespace
} // namespace rondelix::platform::linux_desktop

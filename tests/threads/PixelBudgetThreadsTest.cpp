#include "icons/PixelBudget.h"

#include <atomic>
#include <chrono>
#include <future>
#include <gtest/gtest.h>
#include <memory>
#include <thread>
#include <vector>

namespace rondelix {
namespace {

// Callers on many threads, one of them asking for the whole budget each time
// and the others for parts of it, reserve over and over: never more is held
// at once than the budget, and every reservation comes, the whole budget's
// too, however many smaller ones are asked meanwhile.
TEST(PixelBudgetThreads, ManyCallersNeverHoldMoreThanTheBudgetAndEachIsServedInTurn) {
    constexpr std::uint64_t capacity = 100;
    constexpr int callers = 8, turnsEach = 300;
    PixelBudget budget(capacity);
    std::atomic<std::uint64_t> held = 0, mostHeld = 0;
    std::atomic<int> served = 0;
    std::vector<std::thread> threads;
    for (int caller = 0; caller < callers; ++caller)
        threads.emplace_back([&, caller] {
            const std::uint64_t pixels = caller == 0 ? capacity : 10 + 5 * static_cast<std::uint64_t>(caller);
            for (int turn = 0; turn < turnsEach; ++turn) {
                auto hold = budget.reserve(pixels);
                if (!hold) return;
                const std::uint64_t now = held += pixels;
                for (std::uint64_t most = mostHeld;
                     now > most && !mostHeld.compare_exchange_weak(most, now);) {
                }
                std::this_thread::yield();
                held -= pixels;
                hold.reset();
                ++served;
            }
        });
    for (auto& thread : threads)
        thread.join();
    EXPECT_EQ(served, callers * turnsEach);
    EXPECT_LE(mostHeld, capacity);
}

// A quit while pictures hold every pixel and others wait for theirs: each
// waiting caller is answered at once, with none, as is every later one; the
// holds given before run on, and are let go even after the budget is gone.
TEST(PixelBudgetThreads, AQuitAnswersEveryWaitingCallerAtOnce) {
    auto budget = std::make_unique<PixelBudget>(100);
    auto taken = budget->reserve(100);
    ASSERT_TRUE(taken);
    std::vector<std::future<bool>> waiting;
    for (int caller = 1; caller <= 6; ++caller)
        waiting.push_back(std::async(std::launch::async, [&budget, caller] {
            return budget->reserve(static_cast<std::uint64_t>(10 * caller)) != nullptr;
        }));
    budget->close();
    for (auto& caller : waiting) {
        // Answered by the quit, not by the pixels, which stay taken: the
        // bound lies far from the moment.
        ASSERT_EQ(caller.wait_for(std::chrono::seconds(30)), std::future_status::ready);
        EXPECT_FALSE(caller.get());
    }
    EXPECT_FALSE(budget->reserve(1));
    budget.reset();
    taken.reset();
}

} // namespace
} // namespace rondelix

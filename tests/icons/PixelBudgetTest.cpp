#include "icons/PixelBudget.h"

#include "threads/Gate.h"

#include <future>
#include <gtest/gtest.h>

namespace rondelix {
namespace {

// A reservation that finds the pixels taken waits until they are let go,
// rather than being refused: a site's picture is decoded once the pictures
// before it are, not given up for ten minutes. The caller is let through
// its gate just before it asks, so that nearly every round asks while the
// pixels are taken; a round that asks after they were let go proves nothing
// but passes all the same.
TEST(PixelBudget, AReservationFindingThePixelsTakenWaitsForThem) {
    PixelBudget budget(100);
    for (int round = 0; round < 20; ++round) {
        auto taken = budget.reserve(round % 2 ? 60 : 100);
        ASSERT_TRUE(taken);
        threads::Gate asking;
        auto waiting = std::async(std::launch::async, [&] {
            asking.open();
            return budget.reserve(round % 2 ? 41 : 100) != nullptr;
        });
        asking.wait();
        taken.reset();
        EXPECT_TRUE(waiting.get()) << "round " << round;
    }
}

// More than the whole budget is refused at once, whatever is taken: waiting
// could never give it.
TEST(PixelBudget, AReservationLargerThanTheWholeBudgetIsRefusedAtOnce) {
    PixelBudget budget(100);
    EXPECT_FALSE(budget.reserve(101));
    const auto taken = budget.reserve(30);
    EXPECT_FALSE(budget.reserve(101));
    EXPECT_TRUE(budget.reserve(70));
}

} // namespace
} // namespace rondelix

#include "settings/SpinningLogo.h"

#include "platform/sim/SimMainQueue.h"

#include <gtest/gtest.h>
#include <vector>

namespace rondelix {
namespace {

struct SpinningLogoTest : ::testing::Test {
    // Each click's impulse is taken from the front of `impulses`.
    SpinningLogo& logo() {
        if (!made) {
            made = std::make_unique<SpinningLogo>(queue, [this] {
                const double next = impulses.front();
                impulses.erase(impulses.begin());
                return next;
            });
            made->onFrenzy = [this] { ++frenzies; };
            made->onStop = [this] { stoppedAt.push_back(queue.now()); };
        }
        return *made;
    }

    platform::sim::SimMainQueue queue;
    std::vector<double> impulses;
    std::unique_ptr<SpinningLogo> made;
    int frenzies = 0;
    std::vector<double> stoppedAt;
};

TEST_F(SpinningLogoTest, AClickFromRestCoastsToAStopAtTheRestingSpeed) {
    struct Row {
        double impulse;
        double seconds;
        double degrees;
    };
    for (const Row& row : {Row{1200, 2.649, 597}, Row{2000, 2.904, 997}}) {
        platform::sim::SimMainQueue q;
        SpinningLogo logo(q, [&] { return row.impulse; });
        bool stopped = false;
        logo.onStop = [&] { stopped = true; };
        logo.spin();
        q.advance(row.seconds - 0.01);
        EXPECT_TRUE(logo.spinning()) << row.impulse;
        q.advance(0.02);
        EXPECT_TRUE(stopped) << row.impulse;
        EXPECT_FALSE(logo.spinning());
        EXPECT_NEAR(logo.angle(), row.degrees, 0.5) << row.impulse;
        const double rest = logo.angle();
        q.advance(10);
        EXPECT_DOUBLE_EQ(logo.angle(), rest); // it stays where it ended
    }
}

TEST_F(SpinningLogoTest, OnlyAFastEnoughClickCallsTheFrenzy) {
    impulses = {2000, 2000, 2000, 2000};
    logo().spin();
    logo().spin(); // at most 4000°/s: never enough
    EXPECT_EQ(frenzies, 0);
    logo().spin();
    EXPECT_EQ(frenzies, 1);
    logo().spin(); // every fast click calls again
    EXPECT_EQ(frenzies, 2);
}

TEST_F(SpinningLogoTest, AClickDuringASpinAddsToTheDecayedSpeedWithoutAJump) {
    impulses = {1200, 1200};
    logo().spin();
    queue.advance(0.5);
    const double before = logo().angle();
    const double speed = logo().velocity(queue.now());
    logo().spin();
    EXPECT_DOUBLE_EQ(logo().angle(), before);
    EXPECT_NEAR(logo().velocity(queue.now()), speed + 1200, 1e-9);
    queue.advance(2.2); // the first click's stop time passes; it is not the latest
    EXPECT_TRUE(logo().spinning());
    queue.advance(5);
    EXPECT_EQ(stoppedAt.size(), 1u);
}

TEST_F(SpinningLogoTest, WithTheDefaultImpulseTwoQuickClicksNeverUnlockAndFourAlwaysDo) {
    for (int i = 0; i < 50; ++i) {
        platform::sim::SimMainQueue q;
        SpinningLogo fresh(q);
        int calls = 0;
        fresh.onFrenzy = [&] { ++calls; };
        fresh.spin();
        fresh.spin();
        EXPECT_EQ(calls, 0);
        fresh.spin();
        fresh.spin();
        EXPECT_GE(calls, 1);
    }
}

} // namespace
} // namespace rondelix

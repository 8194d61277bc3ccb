#include "app/SteppedFade.h"

#include <gtest/gtest.h>

using namespace rondelix;

// Walked from change to change: each shown value on from the last towards
// the end (one step each while the fade is slow), never two changes within a
// frame, and the end value exact at the end.
TEST(SteppedFade, StepsEvenlyAtMostOnceAFrameAndEndsOnTheEndValue) {
    struct Case {
        double from, to, seconds;
        int changes; // at most
        double step; // of each change, where no frame holds two
    };
    const auto linear = [](double p) { return p; };
    for (const Case& c : {Case{1.0, 0.0, 15.0, 32, 1.0 / 32}, Case{0.4, 1.0, 0.2, 12, 0},
                          Case{0.0, 1.0, 0.0, 0, 0}, Case{0.5, 0.5, 1.0, 0, 0}}) {
        const SteppedFade fade(c.from, c.to, c.seconds, linear, 32);
        SCOPED_TRACE(testing::Message() << c.from << " to " << c.to << " over " << c.seconds << " s");
        EXPECT_EQ(fade.valueAt(0), c.seconds > 0 ? c.from : c.to);
        double t = 0, shown = fade.valueAt(0);
        int changes = 0;
        while (const auto next = fade.nextChangeAfter(t)) {
            ASSERT_GE(*next, t + SteppedFade::frameSeconds - 1e-9);
            ASSERT_LE(++changes, c.changes);
            t = *next;
            const double moved = (fade.valueAt(t) - shown) * (c.to > c.from ? 1 : -1);
            EXPECT_GT(moved, 0) << t;
            if (c.step > 0) {
                EXPECT_NEAR(moved, c.step, 1e-9) << t;
            }
            shown = fade.valueAt(t);
        }
        EXPECT_EQ(shown, c.to);
        EXPECT_LE(t, c.seconds);
    }
}

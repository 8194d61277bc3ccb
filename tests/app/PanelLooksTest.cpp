#include "app/PanelLooks.h"

#include "platform/sim/SimMainQueue.h"

#include <gtest/gtest.h>
#include <optional>
#include <vector>

using namespace rondelix;

// After a switch the panel repaints at some time, or never: each repaint is
// seen within a second, a few looks a second follow it through its fade,
// and the looks end a second after it has held; a panel that never repaints
// is looked at up to the cap at most 20 times, and not after.
TEST(PanelLooks, FollowsALateRepaintWithinASecondAndLooksRarelyAtAPanelThatKeepsItsColour) {
    struct Case {
        std::optional<double> repaintAt;
        double fadeSeconds; // a second change this long after the first, once that is seen
    };
    for (const Case& c : {Case{std::nullopt, 0}, Case{0.1, 0}, Case{3.0, 0}, Case{3.3, 1.1}, Case{9.6, 0}}) {
        SCOPED_TRACE(c.repaintAt ? *c.repaintAt : -1);
        platform::sim::SimMainQueue queue;
        int colour = 0, looked = 0, looks = 0;
        std::optional<double> seen;
        PanelLooks panel(queue, [&] {
            ++looks;
            const bool changed = colour != looked;
            if (changed && !seen) seen = queue.now();
            looked = colour;
            return changed;
        });
        panel.begin();
        double lastLook = 0;
        while (queue.now() < 40) {
            const int before = looks;
            queue.advance(0.05);
            if (looks != before) lastLook = queue.now();
            if (c.repaintAt && colour == 0 && queue.now() >= *c.repaintAt - 1e-9) colour = 1;
            if (c.fadeSeconds > 0 && colour == 1 && queue.now() >= *c.repaintAt + c.fadeSeconds - 1e-9)
                colour = 2;
        }
        EXPECT_EQ(looked, colour) << "the panel's last colour was never seen";
        if (!c.repaintAt) {
            EXPECT_LE(looks, 20);
            EXPECT_LE(lastLook, PanelLooks::gatherSeconds + PanelLooks::atMostSeconds + 0.1);
            continue;
        }
        ASSERT_TRUE(seen);
        EXPECT_LE(*seen - *c.repaintAt, 1.0 + 1e-9);
        EXPECT_LE(lastLook, *c.repaintAt + c.fadeSeconds + 2.3) << "looked at a panel that has settled";
    }
}

// Where the display tells of the panel's repaints, a panel that keeps its
// colour costs one look, however many notices the change brings, and its
// first repaint after the cap is not looked at and ends the following; a repaint
// seconds after the switch is looked at at once, a fade's many repaints a
// few times a second and once after the last.
TEST(PanelLooks, FollowsToldRepaintsAloneAndOnlyUpToTheCap) {
    platform::sim::SimMainQueue queue;
    std::vector<double> looks;
    bool followed = false;
    const auto look = [&] {
        looks.push_back(queue.now());
        return false;
    };
    PanelLooks panel(queue, look, {[&] { return followed = true; }, [&] { followed = false; }});
    panel.begin();
    panel.begin();
    queue.advance(PanelLooks::gatherSeconds);
    ASSERT_TRUE(followed);
    queue.advance(PanelLooks::atMostSeconds + 1);
    EXPECT_EQ(looks.size(), 1u) << "looked at a panel that was not repainted";
    panel.repainted();
    queue.advance(1);
    EXPECT_EQ(looks.size(), 1u) << "looked after the cap";
    EXPECT_FALSE(followed) << "followed past the cap";

    looks.clear();
    panel.begin();
    queue.advance(3);
    const double repaintAt = queue.now();
    panel.repainted();
    queue.advance(0.01);
    ASSERT_EQ(looks.size(), 2u);
    EXPECT_LE(looks.back() - repaintAt, 0.01)
        << "a repaint seconds after the switch was not looked at at once";
    double lastRepaint = 0;
    for (int i = 0; i < 30; ++i) {
        queue.advance(1.0 / 60);
        lastRepaint = queue.now();
        panel.repainted();
    }
    queue.advance(1);
    EXPECT_LE(looks.size(), 2u + 3u) << "looked at every frame of a fade";
    EXPECT_GE(looks.back(), lastRepaint) << "the fade's last frame was not looked at";

    // Where the display cannot tell, the panel is looked at as above.
    looks.clear();
    PanelLooks polled(queue, look, {[] { return false; }, [] {}});
    polled.begin();
    queue.advance(PanelLooks::atMostSeconds + 1);
    EXPECT_GT(looks.size(), 5u) << "a display that cannot tell of repaints left the panel unlooked at";
}

#include "app/PanelLooks.h"

#include "platform/sim/SimMainQueue.h"

#include <gtest/gtest.h>
#include <optional>

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
            EXPECT_LE(lastLook, PanelLooks::atMostSeconds + 0.05);
            continue;
        }
        ASSERT_TRUE(seen);
        EXPECT_LE(*seen - *c.repaintAt, 1.0 + 1e-9);
        EXPECT_LE(lastLook, *c.repaintAt + c.fadeSeconds + 2.3) << "looked at a panel that has settled";
    }
}

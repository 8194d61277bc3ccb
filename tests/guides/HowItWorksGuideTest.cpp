#include "guides/HowItWorksGuide.h"

#include "app/GuidesPorts.h"
#include "support/CoordinatorRig.h"

#include <gtest/gtest.h>

namespace rondelix {
namespace {

using Kind = AppWindows::Kind;
using Runs = std::vector<GuideTextRun>;

TEST(HowItWorksGuideTest, TheSummonSentenceSetsEachKeyApartWithTheListsSeparators) {
    const std::string tail = " to open the wheel, anywhere, over any app.";
    const struct {
        std::vector<std::string> names;
        Runs runs;
    } cases[] = {
        {{"F18"}, {{"Hold "}, {"F18", true}, {tail}}},
        {{"Left Alt", "F18"}, {{"Hold "}, {"Left Alt", true}, {" or "}, {"F18", true}, {tail}}},
        {{"Left Alt", "F18", "Mouse 4"},
         {{"Hold "}, {"Left Alt", true}, {", "}, {"F18", true}, {", or "}, {"Mouse 4", true}, {tail}}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(summonDescription(c.names), c.runs) << c.names.size();
}

TEST(HowItWorksGuideTest, WalksFiveStepsFromTheFirstAndDoneClosesTheWindow) {
    testsupport::CoordinatorRig rig;
    rig.open();
    rig.c().showHowItWorks();
    auto guide = std::make_unique<HowItWorksGuide>(howItWorksHost(rig.c()));
    const struct {
        const char* title;
        const char* illustration;
        const char* text;
    } expected[] = {
        {"Summon", "howto-summon", "Hold Left Alt + Left Super to open the wheel, anywhere, over any app."},
        {"Aim", "howto-aim", "Point with the arrow keys, or move the mouse, to highlight a slice."},
        {"Fire", "howto-fire",
         "Release to run the highlighted action. Release at the center (or press Esc) to cancel."},
        {"Switch wheels", "howto-switch",
         "While the wheel is open, press Tab, the number keys 1\u20139 (0 for the tenth), or scroll to jump "
         "between your wheels."},
        {"Make it your own", "howto-customize",
         "Build wheels in My Wheels, or add ready-made ones from the Wheel Gallery."},
    };
    for (std::size_t i = 0; i < std::size(expected); ++i) {
        SCOPED_TRACE(expected[i].title);
        ASSERT_EQ(guide->index(), i);
        EXPECT_EQ(guide->current().title, expected[i].title);
        EXPECT_EQ(guide->current().illustration, expected[i].illustration);
        EXPECT_EQ(guide->current().text, expected[i].text);
        EXPECT_EQ(guide->showsBack(), i > 0);
        EXPECT_EQ(guide->onLastStep(), i + 1 == std::size(expected));
        if (i > 0) {
            EXPECT_EQ(guide->description(), Runs{{expected[i].text}});
        }
        guide->primary();
    }
    EXPECT_FALSE(rig.windows.state(Kind::howItWorks).exists);
    EXPECT_EQ(guide->index(), 4u);
    guide->back();
    EXPECT_EQ(guide->index(), 3u);

    // Opened again, it starts over; a second enabled binding shows at once.
    guide = std::make_unique<HowItWorksGuide>(howItWorksHost(rig.c()));
    int changes = 0;
    guide->changed.connect([&] { ++changes; });
    guide->back();
    EXPECT_EQ(guide->index(), 0u);
    rig.c().configStore().mutate([](Config& config) {
        for (auto& binding : config.bindings)
            binding.enabled = binding.keyCodes == std::vector<int>{58};
        config.bindings.front().enabled = true;
    });
    EXPECT_GE(changes, 1);
    EXPECT_EQ(guide->description()[1], (GuideTextRun{"Left Alt + Left Super", true}));
    EXPECT_EQ(guide->description()[2], GuideTextRun{" or "});
    EXPECT_EQ(guide->description()[3], (GuideTextRun{"Left Alt", true}));
}

} // namespace
} // namespace rondelix

#include "model/ConfigCoding.h"
#include "settings/BehaviorSettings.h"
#include "settings/SliderScale.h"
#include "settings/ValueText.h"
#include "settings/WheelBehaviorRows.h"
#include "support/StoreRig.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

namespace rondelix {
namespace {

TEST(SliderScaleTest, ValuesLieOnTheStepGridAndOutsideValuesTakeTheEnds) {
    struct Case {
        SliderScale scale;
        int lastStep;
        int step;
        double value;
    };
    const Case cases[] = {
        {{240, 480, 10}, 24, 8, 320},     {{0, 0.8, 0.05}, 16, 16, 0.8},   {{0, 0.8, 0.05}, 16, 3, 0.15},
        {{0.25, 1.75, 0.25}, 6, 0, 0.25}, {{100, 1000, 50}, 18, 18, 1000}, {{0, 500, 10}, 50, 50, 500},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.scale.lastStep(), c.lastStep);
        EXPECT_EQ(c.scale.valueAt(c.step), c.value); // exact: no binary noise reaches the store
        EXPECT_EQ(c.scale.stepNear(c.value), c.step);
    }
    const SliderScale ms{50, 1000, 50};
    EXPECT_EQ(ms.valueAt(-3), 50);
    EXPECT_EQ(ms.valueAt(99), 1000);
    EXPECT_EQ(ms.stepNear(333), 6); // off the grid: the nearest step
    EXPECT_EQ(ms.stepNear(5000), ms.lastStep());
    EXPECT_EQ(ms.stepNear(-1e300), 0);
    EXPECT_EQ(ms.stepNear(std::numeric_limits<double>::quiet_NaN()), 0);
}

TEST(ValueTextTest, FormatsAndTruncation) {
    EXPECT_EQ(ValueText::pixels(320), "320 px");
    EXPECT_EQ(ValueText::pixels(320.5), "321 px"); // halves away from zero
    EXPECT_EQ(ValueText::pixels(319.49), "319 px");
    EXPECT_EQ(ValueText::percent(0.25), "25%");
    EXPECT_EQ(ValueText::percent(1), "100%");
    EXPECT_EQ(ValueText::percent(1 - 0.71), "29%");
    EXPECT_EQ(ValueText::milliseconds(333), "333 ms");
    EXPECT_EQ(ValueText::truncatedMilliseconds(149.99), 149);
    EXPECT_EQ(ValueText::truncatedMilliseconds(-0.5), 0);
    EXPECT_EQ(ValueText::truncatedMilliseconds(1e12), std::numeric_limits<int>::max());
}

class WheelBehaviorRowsTest : public ::testing::Test {
  protected:
    WheelBehaviorRowsTest() : store(rig.open()), settings(*store) {
        store->configChanged.connect([this] { ++changes; });
        for (const SettingSection& section : wheelBehaviorSections())
            for (const SettingRow& row : section.rows)
                rows.push_back(row);
    }
    const SettingRow& row(const std::string& title) {
        for (const SettingRow& r : rows)
            if (r.text.title == title) return r;
        throw std::runtime_error("no row " + title);
    }
    void edit(const std::function<void(Behavior&)>& change) {
        store->mutate([&](Config& c) { change(c.behavior); });
    }

    testing::StoreRig rig;
    std::unique_ptr<ConfigStore> store;
    BehaviorSettings settings;
    std::vector<SettingRow> rows;
    int changes = 0;
};

TEST_F(WheelBehaviorRowsTest, FifteenRowsInTwoSections) {
    const auto sections = wheelBehaviorSections();
    ASSERT_EQ(sections.size(), 2u);
    EXPECT_EQ(sections[0].header, "Summoning");
    EXPECT_EQ(sections[0].rows.size(), 11u);
    EXPECT_EQ(sections[1].header, "Switching wheels");
    EXPECT_EQ(sections[1].rows.size(), 4u);
}

TEST_F(WheelBehaviorRowsTest, ValueTextsFollowTheStoredValues) {
    edit([](Behavior& b) {
        b.closeFadeMs = 150;
        b.releaseGraceMs = 333; // off the grid, as a hand-edited file may have it
        b.scrollSensitivity = 1;
    });
    EXPECT_EQ(settings.valueText(row("Fade duration")), "150 ms");
    EXPECT_EQ(settings.valueText(row("Grace window")), "333 ms");
    EXPECT_EQ(settings.valueText(row("Scroll sensitivity")), "100%");
    edit([](Behavior& b) { b.scrollSensitivity = 0.25; });
    EXPECT_EQ(settings.valueText(row("Scroll sensitivity")), "25%");
}

TEST_F(WheelBehaviorRowsTest, DependentRowsHideWithoutLosingTheirValues) {
    struct Case {
        const char* reveal;
        const char* dependent;
    };
    for (const Case& c : {Case{"Release grace", "Grace window"}, Case{"Fade out on close", "Fade duration"},
                          Case{"Tab / Shift+Tab cycle wheels", "Tap Shift to go back"}}) {
        settings.setOn(row(c.reveal), true);
        EXPECT_TRUE(settings.isShown(row(c.dependent))) << c.dependent;
        const Behavior before = settings.behavior();
        settings.setOn(row(c.reveal), false);
        EXPECT_FALSE(settings.isShown(row(c.dependent))) << c.dependent;
        Behavior expected = before;
        expected.*row(c.reveal).flag = false;
        EXPECT_EQ(settings.behavior(), expected) << c.reveal;
    }
    const SettingRow& mode = row("Pressed arrow after firing");
    settings.choose(mode, 1);
    EXPECT_EQ(settings.behavior().heldArrowMode, Behavior::HeldArrowMode::delay);
    EXPECT_TRUE(settings.isShown(row("Resume delay")));
    settings.setSliderStep(row("Resume delay"), 4);
    settings.choose(mode, 0);
    EXPECT_FALSE(settings.isShown(row("Resume delay")));
    EXPECT_EQ(settings.behavior().heldArrowDelayMs, 300);
}

TEST_F(WheelBehaviorRowsTest, EachEditIsOneChangeAndSlidersStoreWholeMilliseconds) {
    changes = 0;
    settings.setOn(row("Sticky aim"), false);
    EXPECT_EQ(changes, 1);
    EXPECT_FALSE(settings.behavior().stickyAim);
    settings.setSliderStep(row("Fade duration"), 7);
    EXPECT_EQ(changes, 2);
    EXPECT_EQ(settings.behavior().closeFadeMs, 150);
    EXPECT_EQ(settings.sliderStep(row("Fade duration")), 7);
    settings.choose(row("Pressed arrow after firing"), 7); // no such option
    EXPECT_EQ(changes, 2);
}

TEST_F(WheelBehaviorRowsTest, AHandEditedValueOutOfRangeShowsAndStoresClamped) {
    nlohmann::json file = nlohmann::json::parse(writeConfigFile(store->config()));
    file["behavior"]["closeFadeMs"] = 5000;
    file["behavior"]["scrollSensitivity"] = -4;
    testing::writeText(rig.paths.config, file.dump());
    store->reloadFromDiskIfChanged();
    EXPECT_EQ(settings.valueText(row("Fade duration")), "500 ms");
    EXPECT_EQ(settings.valueText(row("Scroll sensitivity")), "25%");
    settings.setOn(row("Invert scroll direction"), true);
    EXPECT_EQ(rig.onDisk()->behavior.closeFadeMs, 500);
}

} // namespace
} // namespace rondelix

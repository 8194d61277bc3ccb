#include "catalog/ShortcutCatalog.h"
#include "catalog/SystemAction.h"
#include "catalog/WheelActionTarget.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>
#include <set>

namespace rondelix {
namespace {

TEST(SystemActionCatalog, EveryActionIsFoundByItsIdAndListedUnderOneOfItsCategories) {
    std::set<std::string> names;
    for (const auto& action : SystemAction::all()) {
        // A second row under an id already taken could never be found.
        EXPECT_EQ(SystemAction::find(action.id), action) << action.id;
        EXPECT_TRUE(names.insert(action.displayName).second) << action.displayName << " twice in the picker";
        const auto& categories = SystemAction::allCategories();
        EXPECT_NE(std::find(categories.begin(), categories.end(), action.category), categories.end())
            << action.id << " in no section of the picker";
    }
    for (const auto category : SystemAction::allCategories())
        EXPECT_TRUE(std::ranges::any_of(
            SystemAction::all(), [&](const SystemAction& action) { return action.category == category; }))
            << SystemAction::rawValue(category) << " is an empty section";
}

TEST(SystemActionCatalog, CategoriesReadAndWriteTheirRawValues) {
    EXPECT_EQ(SystemAction::allCategories().size(), 8u);
    for (const auto category : SystemAction::allCategories())
        EXPECT_EQ(SystemAction::categoryFromRaw(SystemAction::rawValue(category)), category);
    EXPECT_EQ(SystemAction::rawValue(SystemAction::Category::connectivity), "Connectivity & Focus");
    EXPECT_FALSE(SystemAction::categoryFromRaw("Dock "));
}

TEST(SystemActionCatalog, CodingNeedsAllFourKeys) {
    const auto action = *SystemAction::find("screenshot");
    const auto json = action.encode();
    EXPECT_EQ(json.at("category"), "Capture & Input");
    EXPECT_EQ(SystemAction::decode(json), action);
    for (const char* key : {"id", "displayName", "symbol", "category"}) {
        auto missing = json;
        missing.erase(key);
        EXPECT_FALSE(SystemAction::decode(missing)) << key;
        auto mistyped = json;
        mistyped[key] = 3;
        EXPECT_FALSE(SystemAction::decode(mistyped)) << key;
    }
    auto unknownCategory = json;
    unknownCategory["category"] = "Other";
    EXPECT_FALSE(SystemAction::decode(unknownCategory));
}

TEST(ShortcutCatalogTest, ThreeRequirementsEachNamingASystemActionAndHowToWriteIt) {
    const auto& rows = ShortcutCatalog::requirements();
    ASSERT_EQ(rows.size(), 3u);
    for (const auto& row : rows) {
        EXPECT_TRUE(SystemAction::find(row.id)) << row.id;
        ASSERT_EQ(row.buildSteps.size(), 4u) << row.id;
        EXPECT_EQ(row.buildSteps[1],
                  "Make a new file there named exactly \u201C" + row.shortcutName + "\u201D.");
    }
    EXPECT_FALSE(ShortcutCatalog::requirement("Toggle True Tone"));
    EXPECT_FALSE(ShortcutCatalog::requirement("Toggle Stage Manager"));
}

TEST(ShortcutCatalogTest, LookupIgnoresLetterCaseOnly) {
    EXPECT_EQ(ShortcutCatalog::requirement("toggle bluetooth")->id, "toggle-bluetooth");
    EXPECT_EQ(ShortcutCatalog::requirement("TOGGLE BLUETOOTH")->id, "toggle-bluetooth");
    EXPECT_FALSE(ShortcutCatalog::requirement(" Toggle Bluetooth"));
    // The automations renamed into this desktop's words, under their names
    // and the ones they had before.
    const std::pair<const char*, const char*> renamed[] = {
        {"Toggle Do Not Disturb", "Toggle Do Not Disturb"},
        {"toggle focus", "Toggle Do Not Disturb"},
        {"Toggle Night Light", "Toggle Night Light"},
        {"toggle night shift", "Toggle Night Light"},
    };
    for (const auto& [name, shortcutName] : renamed) {
        const auto found = ShortcutCatalog::requirement(name);
        ASSERT_TRUE(found) << name;
        EXPECT_EQ(found->shortcutName, shortcutName) << name;
    }
    EXPECT_FALSE(ShortcutCatalog::requirement("Morning Routine"));
}

TEST(WheelActionTargetCatalog, ThirteenTargetsFoundByExactId) {
    const auto& all = WheelActionTarget::all();
    ASSERT_EQ(all.size(), 13u);
    EXPECT_EQ(std::count_if(all.begin(), all.end(),
                            [](const auto& t) { return t.section() == WheelActionTarget::Section::page; }),
              8);
    EXPECT_EQ(WheelActionTarget::find(std::string("open-gallery"))->displayName, "Wheel Gallery");
    EXPECT_EQ(WheelActionTarget::find(std::string("check-for-updates"))->symbol,
              "arrow.triangle.2.circlepath");
    EXPECT_FALSE(WheelActionTarget::find(std::nullopt));
    EXPECT_FALSE(WheelActionTarget::find(std::string("OPEN-GALLERY")));
    EXPECT_FALSE(WheelActionTarget::find(std::string("open-development")));
    EXPECT_EQ(WheelActionTarget::sectionFromRaw("Quick Settings"), WheelActionTarget::Section::quickSetting);
    EXPECT_FALSE(WheelActionTarget::sectionFromRaw("quick settings"));
}

TEST(WheelActionTargetCatalog, EachRowCarriesWhatItOpensAndNothingLeadsToDevelopment) {
    using Q = WheelActionTarget::QuickSetting;
    const std::vector<std::pair<std::string, std::variant<MainTab, Q>>> rows{
        {"open-my-wheels", MainTab::wheels},
        {"open-gallery", MainTab::gallery},
        {"open-general", MainTab::general},
        {"open-bindings", MainTab::shortcuts},
        {"open-wheel-behavior", MainTab::wheelBehavior},
        {"open-appearance", MainTab::appearance},
        {"open-sound", MainTab::soundFeedback},
        {"open-about", MainTab::about},
        {"pause-summon", Q::pauseSummon},
        {"toggle-liquid-glass", Q::toggleLiquidGlass},
        {"toggle-sound", Q::toggleSound},
        {"toggle-detect-app", Q::toggleDetectApp},
        {"check-for-updates", Q::checkForUpdates}};
    for (const auto& [id, opens] : rows)
        EXPECT_EQ(WheelActionTarget::find(id)->opens, opens) << id;
    for (const auto& target : WheelActionTarget::all())
        EXPECT_NE(target.opens, (std::variant<MainTab, Q>(MainTab::development))) << target.id;
    for (const char* id : {"Open-Gallery", "", " open-gallery"})
        EXPECT_FALSE(WheelActionTarget::find(std::string(id))) << id;
}

} // namespace
} // namespace rondelix

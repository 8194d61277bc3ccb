#include "model/DefaultConfig.h"
#include "platform/sim/SimMainQueue.h"
#include "settings/AboutInfo.h"
#include "settings/Changelog.h"
#include "settings/DevelopmentRoulette.h"

#include <gtest/gtest.h>
#include <set>

namespace rondelix {
namespace {

Slice slice(int position, std::string label, MacroAction action) {
    return Slice{Uuid::generate(), position, std::move(label), Icon{}, std::move(action)};
}

struct RouletteTest : ::testing::Test {
    DevelopmentRoulette& roulette() {
        if (!made)
            made = std::make_unique<DevelopmentRoulette>(DevelopmentRoulette::Services{
                queue, [this] { return config; },
                [this](std::size_t count) {
                    counts.push_back(count);
                    return chosen;
                },
                [this] { ++feedbacks; }, [this](const MacroAction& a) { fired.push_back(a); }});
        return *made;
    }

    platform::sim::SimMainQueue queue;
    Config config = DefaultConfig::factoryConfig();
    std::size_t chosen = 0;
    std::vector<std::size_t> counts;
    int feedbacks = 0;
    std::vector<MacroAction> fired;
    std::unique_ptr<DevelopmentRoulette> made;
};

TEST_F(RouletteTest, FiresTheCopiedPickAfterPointEightSecondsEvenWhenThePageIsGone) {
    config.wheels = {Wheel{}, Wheel{}};
    config.wheels[0].name = "Work";
    config.wheels[0].slices = {slice(0, "Mail", MacroAction::Url{"https://a"}),
                               slice(1, "", MacroAction::Text{"hi"})};
    config.wheels[1].name = "Play";
    config.wheels[1].slices = {slice(0, "Music", MacroAction::Url{"https://b"})};
    chosen = 1;
    roulette().spin();
    EXPECT_EQ(counts, std::vector<std::size_t>{3});
    EXPECT_TRUE(roulette().spinning());
    config.wheels.clear(); // edits meanwhile change nothing
    queue.advance(0.79);
    EXPECT_TRUE(fired.empty());
    queue.advance(0.01);
    EXPECT_FALSE(roulette().spinning());
    EXPECT_EQ(roulette().result(), "Fired an unlabeled slice from the Work wheel.");
    ASSERT_EQ(fired.size(), 1u);
    EXPECT_EQ(fired[0], MacroAction(MacroAction::Text{"hi"}));
    EXPECT_EQ(feedbacks, 1);

    config.wheels = {Wheel{}};
    config.wheels[0].name = "Play";
    config.wheels[0].slices = {slice(0, "Music", MacroAction::Url{"https://b"})};
    chosen = 0;
    roulette().spin();
    made.reset();
    queue.advance(1);
    EXPECT_EQ(fired.size(), 2u);
    EXPECT_EQ(DevelopmentRoulette::resultText({"Play", "Music", MacroAction::Text{}}),
              "Fired \u201CMusic\u201D from the Play wheel.");
}

TEST_F(RouletteTest, EmptyChambersNeverSpin) {
    config.wheels = {Wheel{}};
    roulette().spin();
    EXPECT_FALSE(roulette().spinning());
    EXPECT_EQ(roulette().result(), "Every chamber is empty.");
    EXPECT_EQ(queue.pendingCount(), 0u);
}

TEST(TextCaretSwitch, RemembersWhereTheWheelOpenedBefore) {
    Config config;
    config.behavior.position = Behavior::Position::screenCenter;
    auto remembered = TextCaretSwitch::turnOn(config, std::nullopt);
    EXPECT_TRUE(TextCaretSwitch::isOn(config));
    EXPECT_EQ(remembered, "screenCenter");
    remembered = TextCaretSwitch::turnOn(config, remembered); // already on: kept
    EXPECT_EQ(remembered, "screenCenter");
    TextCaretSwitch::turnOff(config, remembered);
    EXPECT_EQ(config.behavior.position, Behavior::Position::screenCenter);

    config.behavior.position = Behavior::Position::textCaret;
    TextCaretSwitch::turnOff(config, std::nullopt);
    EXPECT_EQ(config.behavior.position, Behavior::Position::cursor);
}

TEST(ReleaseHistory, TwentyFourEntriesNewestFirstEachWithItsOwnId) {
    const auto& entries = changelogEntries();
    ASSERT_EQ(entries.size(), 24u);
    EXPECT_EQ(entries.front().version, "0.4.1.174");
    EXPECT_EQ(entries.back().date, "May 28, 2026");
    std::set<std::string> ids;
    for (const auto& entry : entries) {
        EXPECT_FALSE(entry.summary.empty());
        ids.insert(entry.id());
    }
    EXPECT_EQ(ids.size(), 24u);
    EXPECT_EQ(
        std::count_if(entries.begin(), entries.end(), [](const auto& e) { return e.version == "0.3.0"; }), 2);
}

// The program does not update itself: no release promises a way to.
TEST(ReleaseHistory, NoEntryOffersAnUpdateCheckOfTheProgramsOwn) {
    for (const auto& entry : changelogEntries())
        for (const char* promise : {"Check for Updates", "auto-update", "updates itself"})
            EXPECT_EQ(entry.summary.find(promise), std::string::npos)
                << entry.version << ": " << entry.summary;
}

TEST(AboutInfo, TheFeedbackMailNamesTheVersionAndTheSystem) {
    EXPECT_EQ(AboutInfo::versionText(""), "?");
    EXPECT_EQ(AboutInfo::feedbackLink("", "Debian 12"),
              "mailto:support@rondelix.app?subject=Rondelix%20%3F%20feedback&body=OS%3A%20Debian%2012%0A%0A");
}

} // namespace
} // namespace rondelix

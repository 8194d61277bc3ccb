#include "editor/EditorRig.h"
#include "editor/FarewellArchive.h"
#include "editor/WheelListEdits.h"

#include <gtest/gtest.h>

namespace rondelix {
namespace {

using testing::EditorRig;
using testing::numberedWheels;
using testing::wheel;

TEST(EditorMilestones, GatedCountsAddOnlyWhenConfirmed) {
    struct Row {
        int count;
        const char* title; // none: no alert
        const char* confirm;
    };
    const std::vector<Row> rows{
        {9, nullptr, nullptr},
        {10, "That's a lot of wheels", "Add Wheel"},
        {11, nullptr, nullptr},
        {15, nullptr, nullptr},
        {19, nullptr, nullptr},
        {20, "Twenty wheels. Respect.", "More wheels!"},
        {30, "Thirty. Okay then.", "I'm sure"},
        {37, "37: the 'random' number", "Predictably, yes"},
        {42, "42.", "Don't panic"},
        {50, "Fifty. Half a hundred.", "Quantity it is"},
        {67, "Sixty\u2026 seven.", "6-7"},
        {69, "Nice.", "Worth it"},
        {75, "Seventy-five. We're concerned.", "Continue anyway"},
        {100, nullptr, nullptr},
    };
    for (const Row& row : rows) {
        EditorRig rig(numberedWheels(row.count), "w1");
        rig.e().appear();
        if (row.title) {
            rig.dialogs.alertAnswers = {"Cancel"};
            rig.e().addWheel();
            ASSERT_EQ(rig.dialogs.alerts.size(), 1u) << row.count;
            const auto& alert = rig.dialogs.alerts.front();
            EXPECT_EQ(alert.message, row.title);
            EXPECT_EQ(alert.buttons, (std::vector<std::string>{row.confirm, "Cancel"}));
            EXPECT_EQ(rig.wheels().size(), static_cast<std::size_t>(row.count)) << "cancelled";
            rig.dialogs.alertAnswers = {row.confirm};
        }
        rig.e().addWheel();
        EXPECT_EQ(rig.dialogs.alerts.size(), row.title ? 2u : 0u) << row.count;
        ASSERT_EQ(rig.wheels().size(), static_cast<std::size_t>(row.count + 1)) << row.count;
        EXPECT_EQ(rig.wheels().back().name, "Wheel " + std::to_string(row.count + 1));
        EXPECT_EQ(rig.e().selectedWheelId(), rig.wheels().back().id);
    }
}

TEST(EditorMilestones, TheCenturyNeedsThreeYesesAndCelebratesFor4Point5Seconds) {
    EditorRig rig(numberedWheels(99), "w1");
    rig.e().appear();
    rig.dialogs.alertAnswers = {"I'm sure", "Cancel"};
    rig.e().addWheel();
    EXPECT_EQ(rig.dialogs.alerts.size(), 2u) << "the third is never shown";
    EXPECT_EQ(rig.wheels().size(), 99u);

    rig.dialogs.alerts.clear();
    rig.dialogs.alertAnswers = {"I'm sure", "Yes, really", "Make it 100"};
    rig.e().addWheel();
    ASSERT_EQ(rig.dialogs.alerts.size(), 3u);
    EXPECT_EQ(rig.dialogs.alerts[0].message, "99 wheels.");
    EXPECT_EQ(rig.dialogs.alerts[1].message, "Really, though?");
    EXPECT_EQ(rig.dialogs.alerts[2].message, "Final answer?");
    EXPECT_EQ(rig.wheels().size(), 100u);
    EXPECT_TRUE(rig.e().celebrating());
    rig.queue.advance(4.4);
    EXPECT_TRUE(rig.e().celebrating());
    rig.queue.advance(0.2);
    EXPECT_FALSE(rig.e().celebrating());

    rig.e().addWheel(); // the 101st
    EXPECT_FALSE(rig.e().celebrating());
    rig.e().deleteWheel();
    rig.e().deleteWheel(); // back to 99, then up to 100 again
    rig.dialogs.alertAnswers = {"I'm sure", "Yes, really", "Make it 100"};
    rig.e().addWheel();
    EXPECT_TRUE(rig.e().celebrating());
}

TEST(EditorMilestones, TheFarewellKeepsACopyThenRemovesNumberedWheelsAndQuits) {
    auto list = numberedWheels(250);
    list.push_back(wheel("mine", "My Tools", 8, {0, 1}));
    list.push_back(wheel("zero", "Wheel 0"));
    list.push_back(wheel("copy", "Wheel 5 copy"));
    list.push_back(wheel("lower", "wheel 3"));
    list.push_back(wheel("spaced", "Wheel  7"));
    EditorRig rig(list, "mine");
    // An earlier clean-up's copy is never overwritten.
    testing::writeText(FarewellArchive::fileName(rig.paths, 1), "earlier");
    rig.e().appear();
    const Config before = rig.store->config();

    rig.e().addWheel();

    ASSERT_EQ(rig.dialogs.alerts.size(), 5u);
    for (const auto& alert : rig.dialogs.alerts) {
        EXPECT_EQ(alert.style, platform::Alert::Style::critical);
        EXPECT_EQ(alert.buttons.size(), 1u);
    }
    EXPECT_EQ(rig.dialogs.alerts.back().message, "Goodbye");
    EXPECT_EQ(rig.ids(), (std::vector<std::string>{"mine", "zero", "copy", "lower"}));
    EXPECT_FALSE(rig.store->canUndo());
    EXPECT_EQ(rig.quits, 1);
    EXPECT_EQ(rig.onDisk()->wheels, rig.wheels());

    EXPECT_EQ(testing::readText(FarewellArchive::fileName(rig.paths, 1)), "earlier");
    const auto kept = FarewellArchive::fileName(rig.paths, 2);
    const auto archived = decodeConfigBytes(testing::readText(kept));
    ASSERT_TRUE(archived);
    EXPECT_EQ(archived->wheels, before.wheels) << "every removed wheel is in the copy";
    EXPECT_TRUE(
        rig.log.contains("Rondelix: wheels before the 255-wheel clean-up were kept in " + kept.string()));
}

} // namespace
} // namespace rondelix

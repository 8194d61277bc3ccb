#include "editor/EditorRig.h"
#include "editor/WheelListEdits.h"

#include <gtest/gtest.h>

namespace rondelix {
namespace {

using testing::EditorRig;
using testing::wheel;

std::vector<Wheel> three() {
    return {wheel("default", "Main", 8, {0, 1}), wheel("apps", "Apps", 12, {10}), wheel("work", "Work", 6)};
}

TEST(EditorSelection, AppearingPicksTheLastEditedThenTheLastUsedWheel) {
    struct Row {
        std::optional<std::string> lastEdited;
        std::string lastUsed;
        std::string selected;
    };
    const std::vector<Row> rows{
        {"work", "apps", "work"},
        {std::nullopt, "apps", "apps"},
        {"deleted", "apps", "apps"},
    };
    for (const Row& row : rows) {
        EditorRig rig(three(), row.lastUsed);
        rig.session.lastEdited = row.lastEdited;
        rig.e().appear();
        EXPECT_EQ(rig.e().selectedWheelId(), row.selected);
        EXPECT_EQ(rig.session.lastEdited, row.selected);
        EXPECT_EQ(rig.e().selectedPosition(), 0);
    }
}

TEST(EditorSelection, EditorTargetsSelectTheirSlotClampedAndAreTaken) {
    EditorRig rig(three());
    rig.session.target = EditorSession::Target{"apps", 10};
    rig.e().appear();
    EXPECT_EQ(rig.e().selectedWheelId(), "apps");
    EXPECT_EQ(rig.e().selectedPosition(), 10);
    EXPECT_FALSE(rig.session.target);
    EXPECT_EQ(rig.session.lastEdited, "apps");

    rig.session.request("default", 9); // slot 9 of an 8-slot wheel
    EXPECT_EQ(rig.e().selectedWheelId(), "default");
    EXPECT_EQ(rig.e().selectedPosition(), 0);

    // The same request twice, the user clicking elsewhere in between.
    rig.session.request("apps", 3);
    rig.e().select("work", 1);
    rig.session.request("apps", 3);
    EXPECT_EQ(rig.e().selectedWheelId(), "apps");
    EXPECT_EQ(rig.e().selectedPosition(), 3);
}

TEST(EditorSelection, FollowsTheConfigurationAsItChanges) {
    EditorRig rig(three(), "apps");
    rig.e().appear();
    rig.e().selectPosition(10);

    // Reducing keeps a slot that still exists and resets one that does not.
    rig.store->editWheels(std::nullopt, [](auto& list) { findWheel(list, "apps")->sliceCount = 11; });
    EXPECT_EQ(rig.e().selectedPosition(), 10);
    rig.store->editWheels(std::nullopt, [](auto& list) { findWheel(list, "apps")->sliceCount = 8; });
    EXPECT_EQ(rig.e().selectedPosition(), 0);

    rig.e().selectPosition(3);
    rig.store->editWheels(std::nullopt, [](auto& list) { findWheel(list, "apps")->sliceCount = 6; });
    EXPECT_EQ(rig.e().selectedPosition(), 3);

    // The selected wheel leaves the list: the first one takes over.
    rig.store->editWheels(std::nullopt,
                          [](auto& list) { std::erase_if(list, [](auto& w) { return w.id == "apps"; }); });
    EXPECT_EQ(rig.e().selectedWheelId(), "default");
    EXPECT_EQ(rig.session.lastEdited, "default");
}

TEST(EditorSelection, AReloadFromDiskKeepsTheEditorOnAValidWheelAndNeverWritesTheOldState) {
    EditorRig rig(three(), "work");
    rig.e().appear();
    rig.e().setName("Work in progress");
    // Another program deletes the wheel being edited.
    rig.rewriteOutside({wheel("default", "Main"), wheel("apps", "Apps")});
    EXPECT_EQ(rig.e().selectedWheelId(), "default");
    ASSERT_TRUE(rig.e().currentWheel());

    // Typing on as if the old wheel were still there changes nothing on disk.
    rig.e().select("work", 0);
    rig.e().setName("Work again");
    rig.e().setSliceCount(4);
    rig.e().addSlice(0);
    const auto onDisk = rig.onDisk();
    ASSERT_TRUE(onDisk);
    EXPECT_EQ(onDisk->wheels.size(), 2u);
    EXPECT_FALSE(findWheel(onDisk->wheels, "work"));
    EXPECT_EQ(findWheel(onDisk->wheels, "default")->name, "Main");
}

TEST(EditorSelection, UndoKeysActOnlyOnTheWheelsPageWithoutACapture) {
    EditorRig rig(three());
    rig.e().appear();
    rig.e().setName("Renamed");
    const UndoKeyPress ctrlZ{true, false, true}, ctrlShiftZ{true, true, true};

    rig.session.onWheelsPage = false;
    EXPECT_EQ(rig.e().handleUndoKey(ctrlZ), UndoKeyAction::passOn);
    EXPECT_EQ(rig.e().currentWheel()->name, "Renamed");

    rig.session.onWheelsPage = true;
    rig.session.capturing = true;
    EXPECT_EQ(rig.e().handleUndoKey(ctrlZ), UndoKeyAction::passOn);
    EXPECT_EQ(rig.e().currentWheel()->name, "Renamed");

    rig.session.capturing = false;
    EXPECT_EQ(rig.e().handleUndoKey(ctrlZ), UndoKeyAction::undo);
    EXPECT_EQ(rig.e().currentWheel()->name, "Main");
    EXPECT_EQ(rig.e().handleUndoKey(ctrlShiftZ), UndoKeyAction::redo);
    EXPECT_EQ(rig.e().currentWheel()->name, "Renamed");
}

} // namespace
} // namespace rondelix

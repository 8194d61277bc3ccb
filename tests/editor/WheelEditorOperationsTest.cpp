#include "editor/EditorRig.h"
#include "editor/SliceSlot.h"
#include "editor/WheelListEdits.h"
#include "util/Utf8.h"

#include <gtest/gtest.h>

namespace rondelix {
namespace {

using testing::EditorRig;
using testing::wheel;

std::vector<int> positions(const Wheel& w) {
    std::vector<int> out;
    for (const Slice& s : w.slices)
        out.push_back(s.position);
    return out;
}

TEST(EditorWheelSection, ReducingAsksOnlyWhenActionsWouldGo) {
    struct Row {
        std::vector<int> filled;
        int count;
        std::optional<std::string> text; // none: no alert
    };
    const std::vector<Row> rows{
        {{0, 1, 2, 3, 4, 5}, 6, std::nullopt},
        {{0, 7},
         6,
         "1 action on the removed wedge will be deleted. You can undo this with Ctrl+Z while the window "
         "stays open."},
        {{5, 6, 7},
         4,
         "3 actions on the removed wedges will be deleted. You can undo this with Ctrl+Z while the "
         "window stays open."},
        {{7}, 12, std::nullopt},
    };
    for (const Row& row : rows) {
        EditorRig rig({wheel("default", "Main", 8, row.filled)});
        rig.e().appear();
        rig.e().setSliceCount(row.count);
        if (!row.text) {
            EXPECT_TRUE(rig.dialogs.alerts.empty());
            EXPECT_EQ(rig.e().currentWheel()->sliceCount, row.count);
            continue;
        }
        ASSERT_EQ(rig.dialogs.alerts.size(), 1u);
        const auto& alert = rig.dialogs.alerts.front();
        EXPECT_EQ(alert.message, "Reduce to " + std::to_string(row.count) + " slices?");
        EXPECT_EQ(alert.informativeText, *row.text);
        EXPECT_EQ(alert.buttons, (std::vector<std::string>{"Reduce", "Cancel"}));
        EXPECT_EQ(alert.defaultButton, 1u); // Return cancels
        EXPECT_EQ(rig.e().currentWheel()->sliceCount, 8) << "cancelled";
    }
}

TEST(EditorWheelSection, ConfirmedReduceDropsTheSlicesAndMovesTheSelection) {
    EditorRig rig({wheel("default", "Main", 8, {0, 7})});
    rig.e().appear();
    rig.e().selectPosition(7);
    rig.dialogs.alertAnswers = {"Reduce"};
    rig.e().setSliceCount(6);
    EXPECT_EQ(positions(*rig.e().currentWheel()), std::vector<int>{0});
    EXPECT_EQ(rig.e().selectedPosition(), 0);
    rig.e().setSliceCount(6); // the same count again: nothing at all
    EXPECT_EQ(rig.store->history().undoCount(), 1u);
}

TEST(EditorWheelSection, NameEditsCoalesceIntoOneUndoStepPerBurst) {
    EditorRig rig({wheel("default", "Main")});
    rig.e().appear();
    for (const char* typed : {"M", "Ma", "Mai", "Mail"}) {
        rig.e().setName(typed);
        rig.queue.advance(0.2);
    }
    EXPECT_EQ(rig.store->history().undoCount(), 1u);
    rig.queue.advance(ConfigStore::coalesceWindow + 0.1);
    rig.e().setName("Mail!");
    EXPECT_EQ(rig.store->history().undoCount(), 2u);
    rig.e().undo();
    EXPECT_EQ(rig.e().currentWheel()->name, "Mail");
    rig.e().undo();
    EXPECT_EQ(rig.e().currentWheel()->name, "Main");
}

TEST(EditorWheelSection, NamesAreSavedExactlyAsGiven) {
    const std::vector<std::string> names{std::string(10000, 'W'), "tab\there\nnew\x01line",
                                         "bad \xff\xfe utf8", ""};
    for (const auto& name : names) {
        EditorRig rig({wheel("default", "Main"), wheel("other", name)});
        rig.e().appear();
        rig.e().setName("Main 2"); // another wheel's edit rewrites the whole file
        const auto onDisk = rig.onDisk();
        ASSERT_TRUE(onDisk);
        EXPECT_EQ(findWheel(onDisk->wheels, "other")->name, rig.store->wheel("other")->name);
        rig.e().select("other", 0);
        rig.e().setName(name + "!");
        // Bytes that are not UTF-8 are repaired where they enter the store.
        std::string expected = name + "!";
        utf8::repair(expected);
        EXPECT_EQ(rig.store->wheel("other")->name, expected);
    }
}

TEST(EditorWheelSection, BindingNamesTheAppAndTouchesOneWheel) {
    EditorRig rig({wheel("default", "Main"), wheel("b", "B")});
    rig.workspace.listed = {{"org.gnome.Calculator", "Calculator", "/calc.desktop"}};
    rig.e().appear();
    EXPECT_EQ(rig.e().boundAppName(), "Any App (Manual)");
    rig.e().setBoundApp("org.gnome.Calculator");
    EXPECT_EQ(rig.e().boundAppName(), "Calculator");
    rig.e().select("b", 0);
    rig.e().setBoundApp("org.gnome.Calculator");
    EXPECT_EQ(rig.store->wheel("default")->appBundleIdentifier, "org.gnome.Calculator");
    rig.e().setBoundApp(std::nullopt);
    EXPECT_FALSE(rig.store->wheel("b")->appBundleIdentifier);
    EXPECT_TRUE(rig.store->wheel("default")->appBundleIdentifier);
}

TEST(EditorWheelSection, DuplicateStandsAfterItsSourceAndIsSelected) {
    EditorRig rig({wheel("work", "Work", 6, {1}), wheel("work-copy", "X"), wheel("y", "Work copy")});
    rig.e().appear();
    rig.e().select("work", 4);
    rig.e().duplicateWheel();
    EXPECT_EQ(rig.ids(), (std::vector<std::string>{"work", "work-copy-2", "work-copy", "y"}));
    EXPECT_EQ(rig.wheels()[1].name, "Work copy 2");
    EXPECT_EQ(rig.wheels()[1].sliceCount, 6);
    EXPECT_EQ(rig.e().selectedWheelId(), "work-copy-2");
    EXPECT_EQ(rig.e().selectedPosition(), 0);
}

TEST(EditorWheelSection, DuplicatingAt255WheelsOnlyBeeps) {
    EditorRig rig(testing::numberedWheels(255), "w1");
    rig.e().appear();
    rig.e().duplicateWheel();
    EXPECT_EQ(rig.sounds.beeps, 1);
    EXPECT_EQ(rig.wheels().size(), 255u);
}

TEST(EditorWheelSection, DeleteAsksForWheelsWithActionsAndTheBoxSilencesTheSession) {
    EditorRig rig({wheel("a", "Alpha", 8, {0}), wheel("b", "Beta", 8, {0, 1}), wheel("c", "Gamma", 8, {2}),
                   wheel("d", "Empty")});
    rig.e().appear();

    rig.e().select("a", 0);
    rig.dialogs.alertAnswers = {"Cancel"};
    rig.dialogs.suppressionAnswers = {true};
    rig.e().deleteWheel();
    ASSERT_EQ(rig.dialogs.alerts.size(), 1u);
    const auto& first = rig.dialogs.alerts.back();
    EXPECT_EQ(first.message, "Delete \u201CAlpha\u201D?");
    EXPECT_EQ(first.informativeText, "This removes the wheel and its 1 action. You can undo this with Ctrl+Z "
                                     "while the window stays open.");
    EXPECT_EQ(first.buttons, (std::vector<std::string>{"Delete Wheel", "Cancel"}));
    EXPECT_EQ(first.suppressionTitle, "Don\u2019t ask again this session");
    EXPECT_EQ(rig.wheels().size(), 4u);
    EXPECT_FALSE(rig.session.suppressDelete) << "a ticked box on Cancel counts for nothing";

    rig.e().select("b", 0);
    rig.dialogs.alertAnswers = {"Delete Wheel"};
    rig.dialogs.suppressionAnswers = {true};
    rig.e().deleteWheel();
    EXPECT_EQ(rig.dialogs.alerts.back().informativeText.substr(0, 36),
              "This removes the wheel and its 2 act");
    EXPECT_EQ(rig.ids(), (std::vector<std::string>{"a", "c", "d"}));
    EXPECT_EQ(rig.e().selectedWheelId(), "a");
    EXPECT_TRUE(rig.session.suppressDelete);

    rig.e().select("c", 0);
    rig.e().deleteWheel(); // silenced
    rig.e().select("d", 0);
    rig.e().deleteWheel(); // empty: never asks
    EXPECT_EQ(rig.dialogs.alerts.size(), 2u);
    EXPECT_EQ(rig.ids(), std::vector<std::string>{"a"});
    rig.e().undo();
    EXPECT_EQ(rig.ids(), (std::vector<std::string>{"a", "d"}));
}

TEST(EditorSliceSection, AddRemoveAndDuplicateAtTheLowestFreeSlot) {
    EditorRig rig({wheel("default", "Main", 8, {0, 1, 2, 5})});
    rig.e().appear();
    rig.e().addSlice(4);
    EXPECT_EQ(rig.e().selectedPosition(), 0);
    EXPECT_EQ(rig.e().currentWheel()->slices.back().label, "New Action");
    rig.e().selectPosition(5);
    rig.e().duplicateSlice();
    EXPECT_EQ(rig.e().selectedPosition(), 3);
    const auto copy = rig.e().selectedSlice();
    ASSERT_TRUE(copy);
    EXPECT_EQ(copy->label, "S5");
    EXPECT_EQ(positions(*rig.e().currentWheel()), (std::vector<int>{0, 1, 2, 5, 4, 3}));

    rig.e().addSlice(4); // occupied: nothing
    rig.e().addSlice(8); // outside: nothing
    rig.e().addSlice(-1);
    EXPECT_EQ(rig.e().currentWheel()->slices.size(), 6u);
    rig.e().removeSlice(5);
    EXPECT_EQ(positions(*rig.e().currentWheel()), (std::vector<int>{0, 1, 2, 4, 3}));
    EXPECT_EQ(rig.dialogs.alerts.size(), 0u);
}

TEST(EditorSliceSection, DuplicateCopyAndMoveBeepWhenThereIsNoRoom) {
    struct Row {
        std::string name;
        std::function<void(WheelEditor&)> run;
    };
    const std::vector<Row> rows{
        {"duplicate in a full wheel", [](WheelEditor& e) { e.duplicateSlice(); }},
        {"copy to a full wheel", [](WheelEditor& e) { e.copySlice("full"); }},
        {"move to a missing wheel", [](WheelEditor& e) { e.moveSlice("gone"); }},
        {"copy of an empty slot",
         [](WheelEditor& e) {
             e.select("roomy", 3);
             e.copySlice("roomy");
         }},
    };
    for (const Row& row : rows) {
        EditorRig rig({wheel("full", "Full", 4, {0, 1, 2, 3}), wheel("roomy", "Roomy")}, "full");
        rig.e().appear();
        row.run(rig.e());
        EXPECT_EQ(rig.sounds.beeps, 1) << row.name;
        EXPECT_EQ(rig.store->history().undoCount(), 0u) << row.name;
    }
}

TEST(EditorSliceSection, MoveFollowsTheSliceAndOneUndoRestoresBothWheels) {
    EditorRig rig({wheel("A", "A", 8, {4}), wheel("B", "B", 8, {0, 1})}, "A");
    rig.e().appear();
    rig.e().selectPosition(4);
    EXPECT_FALSE(rig.e().hasFreeSlot("gone"));
    EXPECT_TRUE(rig.e().hasFreeSlot("B"));
    rig.e().moveSlice("B");
    EXPECT_EQ(rig.e().selectedWheelId(), "B");
    EXPECT_EQ(rig.e().selectedPosition(), 2);
    EXPECT_TRUE(rig.store->wheel("A")->slices.empty());
    EXPECT_EQ(positions(*rig.store->wheel("B")), (std::vector<int>{0, 1, 2}));
    EXPECT_EQ(rig.store->wheel("B")->slices[2].label, "S4");
    rig.e().undo();
    EXPECT_EQ(positions(*rig.store->wheel("A")), std::vector<int>{4});
    EXPECT_EQ(positions(*rig.store->wheel("B")), (std::vector<int>{0, 1}));
}

TEST(EditorSliceSection, CopyLeavesTheSelectionOnTheSource) {
    EditorRig rig({wheel("A", "A", 8, {4}), wheel("B", "B", 8, {0})}, "A");
    rig.e().appear();
    rig.e().selectPosition(4);
    rig.e().copySlice("B");
    EXPECT_EQ(rig.e().selectedWheelId(), "A");
    EXPECT_EQ(rig.e().selectedPosition(), 4);
    EXPECT_EQ(positions(*rig.store->wheel("B")), (std::vector<int>{0, 1}));
    EXPECT_NE(rig.store->wheel("B")->slices[1].id, rig.store->wheel("A")->slices[0].id);
}

TEST(EditorSliceSection, SwapKeepsTheSelectionWithItsSlice) {
    struct Row {
        std::vector<int> filled;
        int selected, from, to, selectedAfter;
    };
    const std::vector<Row> rows{
        {{1}, 1, 1, 6, 6},    // moved onto an empty slot, the selection follows
        {{1, 6}, 6, 1, 6, 1}, // exchanged: the other slice's slot
        {{1}, 6, 1, 6, 6},    // nothing came back to 1: the selection stays
        {{6}, 1, 1, 6, 1},    // from an empty slot: nothing happens
        {{1, 6}, 3, 1, 6, 3},
    };
    for (const Row& row : rows) {
        EditorRig rig({wheel("default", "Main", 8, row.filled)});
        rig.e().appear();
        rig.e().selectPosition(row.selected);
        rig.e().swapSlices(row.from, row.to);
        EXPECT_EQ(rig.e().selectedPosition(), row.selectedAfter);
    }
}

TEST(EditorSliceSection, AFormWriteToAnEmptySlotCreatesTheSliceAndBurstsCoalesce) {
    EditorRig rig({wheel("default", "Main", 8, {0})});
    rig.e().appear();
    const SliceSlot slot{"default", 3};
    EXPECT_EQ(slot.coalesceKey(), "slice:default:3");
    Slice typed = slot.read(*rig.store);
    EXPECT_EQ(typed.label, "");
    EXPECT_EQ(typed.icon, Icon{Icon::Auto{}});
    for (const char* label : {"L", "La", "Lab"}) {
        typed.label = label;
        slot.write(*rig.store, typed);
    }
    EXPECT_EQ(slot.read(*rig.store).label, "Lab");
    EXPECT_EQ(rig.store->history().undoCount(), 1u);
    SliceSlot{"gone", 0}.write(*rig.store, typed);
    EXPECT_EQ(rig.store->history().undoCount(), 1u);
}

} // namespace
} // namespace rondelix

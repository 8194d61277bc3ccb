#include "editor/ApplicationChoice.h"
#include "editor/ConfettiPiece.h"
#include "editor/PillDrag.h"
#include "editor/UndoKeys.h"
#include "platform/sim/SimMainQueue.h"
#include "platform/sim/SimWorkspace.h"

#include <gtest/gtest.h>
#include <random>

namespace rondelix {
namespace {

using platform::Point;
using platform::Rect;
using platform::Size;

// Three pills stacked 30 points apart, 28 high.
const PillFrames pills{
    {"a", Rect{24, 4, 120, 28}}, {"b", Rect{24, 38, 120, 28}}, {"c", Rect{24, 72, 120, 28}}};

TEST(PillDrag, ClickDragAndDropByDistanceAndPlace) {
    struct Row {
        Size translation;
        Point location;
        std::optional<std::string> dragging, dropTarget;
        PillGestureEnd end;
    };
    using K = PillGestureEnd::Kind;
    const std::vector<Row> rows{
        {{3, 4}, {40, 20}, std::nullopt, std::nullopt, {K::select, "a", ""}}, // 5 points: a click
        {{0, 6}, {40, 24}, std::nullopt, std::nullopt, {K::select, "a", ""}}, // exactly 6: still a click
        {{0, 7}, {400, 25}, "a", std::nullopt, {K::nothing, "", ""}},         // 7 points over empty space
        {{0, 70}, {60, 80}, "a", "c", {K::move, "a", "c"}},                   // onto the third pill
        {{0, 10}, {60, 20}, "a", std::nullopt, {K::nothing, "", ""}},         // over itself
        {{0, 32}, {60, 32}, "a", std::nullopt, {K::nothing, "", ""}},         // the gap between pills
    };
    for (const Row& row : rows) {
        const PillDrag drag{"a", row.translation, row.location};
        EXPECT_EQ(draggingPillId(drag), row.dragging);
        EXPECT_EQ(pillDropTargetId(drag, pills), row.dropTarget);
        EXPECT_EQ(endPillGesture(drag, pills), row.end);
    }
    EXPECT_EQ(endPillGesture(PillDrag{}, pills), PillGestureEnd{});
    EXPECT_NE((PillDrag{"a", {0, 1}, {}}), (PillDrag{"a", {0, 1.25}, {}}));
}

TEST(PillDrag, LaterFramesReplaceEarlierOnes) {
    PillFrames frames{{"default", Rect{0, 0, 10, 10}}};
    mergePillFrames(frames, {{"default", Rect{0, 40, 10, 10}}, {"apps", Rect{0, 60, 10, 10}}});
    EXPECT_EQ(frames.at("default"), (Rect{0, 40, 10, 10}));
    EXPECT_EQ(frames.size(), 2u);
}

TEST(UndoKeys, OnlyCtrlZOnTheWheelsPageWithoutACapture) {
    struct Row {
        UndoKeyPress press;
        bool wheelsPage, capturing;
        UndoKeyAction action;
    };
    const std::vector<Row> rows{
        {{true, false, true}, true, false, UndoKeyAction::undo},
        {{true, true, true}, true, false, UndoKeyAction::redo},
        {{true, false, true}, false, false, UndoKeyAction::passOn},
        {{true, false, true}, true, true, UndoKeyAction::passOn},
        {{false, false, true}, true, false, UndoKeyAction::passOn},
        {{true, false, false}, true, false, UndoKeyAction::passOn},
    };
    for (const Row& row : rows)
        EXPECT_EQ(undoKeyAction(row.press, row.wheelsPage, row.capturing), row.action);
}

TEST(ApplicationChoice, SearchesNamesAndIdsAndSortsByName) {
    const std::vector<platform::ApplicationEntry> apps{
        {"org.gnome.TextEditor", "Text Editor", "/a"},
        {"firefox", "Firefox", "/b"},
        {"org.gnome.Calculator", "calculator", "/c"},
    };
    const auto names = [](const std::vector<platform::ApplicationEntry>& list) {
        std::vector<std::string> out;
        for (const auto& a : list)
            out.push_back(a.name);
        return out;
    };
    EXPECT_EQ(names(matchingApplications(apps, "")),
              (std::vector<std::string>{"calculator", "Firefox", "Text Editor"}));
    EXPECT_EQ(names(matchingApplications(apps, "GNOME")),
              (std::vector<std::string>{"calculator", "Text Editor"}));
    EXPECT_EQ(names(matchingApplications(apps, "fire")), (std::vector<std::string>{"Firefox"}));
    EXPECT_TRUE(matchingApplications(apps, "zzz").empty());
}

TEST(ApplicationChoice, AFileBindsOnlyAnApplicationEntry) {
    platform::sim::SimMainQueue queue;
    platform::sim::SimWorkspace workspace{queue};
    workspace.applicationPaths = {"/usr/share/applications/org.gnome.Calculator.desktop", "/usr/bin/gedit"};
    workspace.installed = {{"gone.app", "/opt/Gone Tool.desktop"},
                           {"caja-folder-handler", "/usr/share/applications/caja-folder-handler.desktop"}};
    workspace.names["/usr/share/applications/caja-folder-handler.desktop"] = "Open Folder";
    workspace.listed = {
        {"org.gnome.Calculator", "Calculator", "/usr/share/applications/org.gnome.Calculator.desktop"}};

    EXPECT_EQ(identifierForFile("/usr/share/applications/org.gnome.Calculator.desktop", workspace),
              "org.gnome.Calculator");
    EXPECT_EQ(identifierForFile("/usr/bin/gedit", workspace), std::nullopt);
    EXPECT_EQ(identifierForFile("/home/me/broken.desktop", workspace), std::nullopt);
    EXPECT_EQ(identifierForFile("/home/me/.desktop", workspace), std::nullopt);

    EXPECT_EQ(boundAppName(std::nullopt, workspace), "Any App (Manual)");
    EXPECT_EQ(boundAppName("org.gnome.Calculator", workspace), "Calculator");
    EXPECT_EQ(boundAppName("gone.app", workspace), "Gone Tool");
    // An entry kept out of the menus still goes by the name it gives.
    EXPECT_EQ(boundAppName("caja-folder-handler", workspace), "Open Folder");
    EXPECT_EQ(boundAppName("com.example.Missing", workspace), "com.example.Missing");
}

TEST(Confetti, PiecesWaitFallSpinAndFadeOnTheirOwnSchedule) {
    ConfettiPiece late;
    late.x = 0;
    late.delay = 0.7;
    late.duration = 3.0;
    late.spin = 540;
    struct Row {
        double t, y, rotation, opacity;
    };
    const std::vector<Row> rows{{0, -60, 0, 1}, {0.7, -60, 0, 1}, {3.7, 460, 540, 0}, {9, 460, 540, 0}};
    for (const Row& row : rows) {
        const auto frame = late.frameAt(row.t, 600, 400);
        EXPECT_DOUBLE_EQ(frame.centerX, 0);
        EXPECT_NEAR(frame.centerY, row.y, 1e-6) << row.t;
        EXPECT_NEAR(frame.rotation, row.rotation, 1e-6) << row.t;
        EXPECT_NEAR(frame.opacity, row.opacity, 1e-6) << row.t;
    }
    const auto middle = late.frameAt(0.7 + 1.5, 600, 400);
    EXPECT_GT(middle.centerY, -60);
    EXPECT_LT(middle.centerY, 200); // ease-in: less than halfway at half time
    late.x = 1;
    EXPECT_DOUBLE_EQ(late.frameAt(1, 600, 400).centerX, 600);
}

TEST(Confetti, AScatterStaysInsideItsRanges) {
    std::mt19937 engine(7);
    const auto pieces = ConfettiPiece::scatter(
        [&](double lo, double hi) { return std::uniform_real_distribution<double>(lo, hi)(engine); });
    ASSERT_EQ(pieces.size(), 120u);
    std::set<int> colors;
    for (const auto& p : pieces) {
        EXPECT_TRUE(p.x >= 0 && p.x <= 1);
        EXPECT_TRUE(p.size >= 6 && p.size <= 12);
        EXPECT_TRUE(p.delay >= 0 && p.delay <= 0.7);
        EXPECT_TRUE(p.duration >= 1.6 && p.duration <= 3.0);
        EXPECT_TRUE(p.spin >= -540 && p.spin <= 540);
        colors.insert(p.colorIndex);
    }
    EXPECT_EQ(colors.size(), 7u);
    EXPECT_LE(ConfettiPiece::settleTime(pieces), 3.7);
    // The top of every range can be drawn too.
    const auto highest = ConfettiPiece::scatter([](double, double hi) { return hi; });
    EXPECT_EQ(highest.front().colorIndex, 6);
    EXPECT_DOUBLE_EQ(ConfettiPiece::settleTime(highest), 3.7);
}

TEST(Confetti, EaseInStartsSlowAndEndsAtOne) {
    EXPECT_NEAR(easeIn(0), 0, 1e-9);
    EXPECT_NEAR(easeIn(1), 1, 1e-9);
    EXPECT_LT(easeIn(0.5), 0.5);
    EXPECT_LT(easeIn(0.25), easeIn(0.5));
}

} // namespace
} // namespace rondelix

#include "store/ImportReview.h"

#include "platform/sim/SimDialogs.h"
#include "platform/sim/SimMainQueue.h"
#include "platform/sim/SimWorkspace.h"

#include <gtest/gtest.h>

using namespace rondelix;
using platform::Alert;

namespace {

struct Review : ::testing::Test {
    platform::sim::SimMainQueue queue;
    platform::sim::SimWorkspace workspace{queue};
    platform::sim::SimDialogs dialogs;

    Alert review(const Wheel& wheel) { return ImportReview::wheelImportAlert(wheel, workspace); }
};

std::vector<std::string> numbered(int count) {
    std::vector<std::string> warnings;
    for (int i = 1; i <= count; ++i)
        warnings.push_back("w" + std::to_string(i));
    return warnings;
}

Slice slice(int position, std::string label, MacroAction action) {
    return Slice{Uuid::generate(), position, std::move(label), Icon::None{}, std::move(action)};
}

const std::string intro = "Only add wheels from people you trust. When fired, it will be able to:\n\n";

// A line of a review's list: the label and what the slice does, each isolated.
std::string item(const std::string& label, const std::string& detail) {
    return "•  \u2068" + label + "\u2069: \u2068" + detail + "\u2069";
}

// A desktop on which no system action does anything.
std::optional<std::string> nothingHere(const std::string&) {
    return "none";
}

// The parts of an alert that are not its texts, on one line.
std::string frame(const Alert& alert) {
    std::string text = std::to_string(static_cast<int>(alert.style)) + " " + alert.symbol.value_or("-");
    for (const auto& button : alert.buttons)
        text += " [" + button + "]";
    return text + " default " + std::to_string(alert.defaultButton);
}

} // namespace

TEST_F(Review, ConfigurationReviewListsEightWarningsAndCountsTheRest) {
    const Alert nine = ImportReview::codeImportAlert(numbered(9));
    EXPECT_EQ(nine.informativeText,
              intro + "•  w1\n•  w2\n•  w3\n•  w4\n•  w5\n•  w6\n•  w7\n•  w8\n•  …and 1 more");
    EXPECT_EQ(ImportReview::codeImportAlert(numbered(8)).informativeText,
              intro + "•  w1\n•  w2\n•  w3\n•  w4\n•  w5\n•  w6\n•  w7\n•  w8");
    EXPECT_EQ(nine.message, "This file can run code on this computer");
    EXPECT_EQ(frame(nine), "2 - [Cancel] [Add Anyway] default 0");

    EXPECT_FALSE(ImportReview::confirmCodeImport(dialogs, numbered(1))); // Return chooses Cancel
    dialogs.alertAnswers.push_back("Add Anyway");
    EXPECT_TRUE(ImportReview::confirmCodeImport(dialogs, numbered(1)));
}

TEST_F(Review, AWheelWithoutCodeIsListedInThePlainReview) {
    workspace.installed["org.gnome.Calculator"] = "/usr/share/applications/org.gnome.Calculator.desktop";
    const Wheel wheel{"w",
                      "  Tools\n",
                      8,
                      {slice(1, "Two\nwords", MacroAction::Text{"hello"}),
                       slice(0, "", MacroAction::App{"org.gnome.Calculator", std::nullopt}),
                       slice(2, "Site", MacroAction::Url{"https://user@example.com:8080/a?b"}),
                       slice(3, "\u202Egnp.exe", MacroAction::Text{"ls\n\u202Erm -rf ~"})}};
    const Alert alert = review(wheel);
    EXPECT_EQ(frame(alert), "0 checkmark.seal.fill [Add Wheel] [Cancel] default 0");
    EXPECT_EQ(alert.message, "Add “Tools” to your wheels?");
    EXPECT_EQ(alert.informativeText,
              "Looks safe. This wheel uses only standard actions (opening apps, typing "
              "text, keystrokes, web links). No scripts or code.");
    // An override in a label or a text reverses nothing; lines after the first
    // are counted.
    EXPECT_EQ(alert.detailText, "WHAT’S INSIDE\n\n" + item("Slice 1", "Opens org.gnome.Calculator") + "\n" +
                                    item("Two words", "Types “hello”") + "\n" +
                                    item("Site", "Opens example.com") + "\n" +
                                    item("gnp.exe", "Types “ls…” (2 lines)"));
    EXPECT_TRUE(ImportReview::confirmWheelImport(dialogs, wheel, workspace)); // Return chooses Add Wheel

    const Alert empty = review(Wheel{.id = "e", .name = " \n "});
    EXPECT_EQ(empty.message, "Add this wheel to your wheels?");
    EXPECT_EQ(empty.detailText, "This wheel has no slices yet.");

    // A system action that does nothing on this desktop says so.
    const Wheel dock{"d", "Dock", 8, {slice(0, "", MacroAction::SystemAction{"toggle-dock-autohide"})}};
    EXPECT_EQ(ImportReview::wheelImportAlert(dock, workspace, nothingHere).detailText,
              "WHAT’S INSIDE\n\n" + item("Slice 1", "Toggle Dock Auto-Hide (not available on this desktop)"));
}

TEST_F(Review, AWheelThatRunsCodeListsEveryWarningThenEverythingElse) {
    Wheel wheel{"w",
                "   ",
                8,
                {slice(2, "Files", MacroAction::Url{"file:///etc"}),
                 slice(0, "Run", MacroAction::Script{"echo hi"}),
                 slice(1, "", MacroAction::SystemAction{"toggle-dark-mode"}),
                 slice(3, "Mail", MacroAction::Url{"mailto:a@b.c"})}};
    const Alert alert = review(wheel);
    EXPECT_EQ(frame(alert), "1 exclamationmark.circle.fill [Cancel] [Add Anyway] default 0");
    EXPECT_EQ(alert.message, "This wheel can run custom actions");
    EXPECT_EQ(
        alert.informativeText,
        "This wheel includes a script or other custom action that runs on this computer when you fire a "
        "slice. It’s often something handy like opening a file or controlling an app, but since it runs on "
        "this computer, it’s worth adding wheels only from people you trust.\n\nYou can see exactly what "
        "it does "
        "below. If anything looks unfamiliar, select a line to copy and look it up, or just click Cancel.");
    EXPECT_EQ(alert.detailText, "SCRIPTS & CUSTOM ACTIONS\n\n•  “Run” runs a script: echo hi\n\n"
                                "•  “Files” opens: file:///etc\n\nEVERYTHING ELSE THIS WHEEL DOES\n\n" +
                                    item("Slice 2", "Toggle Dark Mode") + "\n" +
                                    item("Mail", "Opens mailto:a@b.c"));
    EXPECT_FALSE(ImportReview::confirmWheelImport(dialogs, wheel, workspace)); // Return chooses Cancel
    EXPECT_NE(ImportReview::wheelImportAlert(wheel, workspace, nothingHere)
                  .detailText->find(item("Slice 2", "Toggle Dark Mode (not available on this desktop)")),
              std::string::npos);

    wheel.slices = {slice(0, "Run", MacroAction::Script{"ls"}),
                    slice(1, "S", MacroAction::Shortcut{"Focus"})};
    wheel.name.assign(200, 'x').append("\u202E");
    const Alert allCode = review(wheel);
    EXPECT_EQ(allCode.detailText->find("EVERYTHING ELSE"), std::string::npos);
    // A name from a file is kept to one short line in the message.
    EXPECT_LT(allCode.message.size(), 100u);
    EXPECT_EQ(allCode.message.find("\u202E"), std::string::npos);
}

TEST_F(Review, OnlyADesktopEntryInAnApplicationFolderOpensAnInstalledApplication) {
    workspace.folders = {"/usr/share/applications"};
    const Wheel wheel{
        "w",
        "Apps",
        8,
        {slice(0, "Firefox", MacroAction::App{std::nullopt, "/home/u/Downloads/Firefox.desktop"}),
         slice(1, "Notes", MacroAction::App{std::nullopt, "/usr/share/applications/notes.desktop"}),
         slice(2, "Here", MacroAction::App{std::nullopt, "notes.desktop"})}};
    const Alert alert = review(wheel);
    EXPECT_EQ(alert.message, "“Apps” can run custom actions");
    EXPECT_EQ(alert.detailText, "SCRIPTS & CUSTOM ACTIONS\n\n"
                                "•  “Firefox” launches a file: /home/u/Downloads/Firefox.desktop\n\n"
                                "•  “Here” launches a file: notes.desktop\n\n"
                                "EVERYTHING ELSE THIS WHEEL DOES\n\n" +
                                    item("Notes", "Opens notes"));
}

#include "gallery/AddWheelReview.h"
#include "gallery/GalleryAdding.h"
#include "gallery/GalleryBrowserModel.h"
#include "gallery/GalleryTrial.h"
#include "gallery/WheelManifest.h"
#include "gallery/WorkshopLayout.h"
#include "platform/sim/SimBackground.h"
#include "platform/sim/SimMainQueue.h"
#include "platform/sim/SimWorkspace.h"
#include "support/GalleryWheelById.h"

#include <algorithm>
#include <gtest/gtest.h>

using namespace rondelix;
using Category = GalleryWheel::Category;

namespace {

std::vector<std::string> idsOf(const WheelGallery::Listing& list) {
    std::vector<std::string> ids;
    for (const GalleryWheel* g : list)
        ids.push_back(g->id);
    return ids;
}

Slice sliceWith(std::string label, MacroAction action) {
    return Slice{Uuid::generate(), 0, std::move(label), Icon::SfSymbol{"star"}, std::move(action)};
}

struct Gallery : ::testing::Test {
    platform::sim::SimMainQueue queue;
    platform::sim::SimBackground background;
    platform::sim::SimWorkspace workspace{queue};
    std::vector<Wheel> wheels;
    std::vector<std::string> opened;
    std::vector<std::string> viewed;
    int undos = 0;

    GalleryServices services() {
        return GalleryServices{
            [this] {
                std::vector<std::string> names;
                for (const Wheel& w : wheels)
                    names.push_back(w.name);
                return names;
            },
            [this](Wheel w) { wheels.push_back(std::move(w)); },
            [this] {
                ++undos;
                if (!wheels.empty()) wheels.pop_back();
            },
            [this](const MacroAction& a) { opened.push_back(a.as<MacroAction::Url>()->url); },
            [this](const std::string& id) { viewed.push_back(id); },
        };
    }
    GalleryBrowserModel model{services(), queue, background, workspace};

    std::string toastText() {
        const auto& shown = model.toast().current();
        return shown ? shown->message : "";
    }
};

} // namespace

TEST_F(Gallery, StartsOnTheFirstAppInNameOrderAndReordersOnceInstalledAppsAreKnown) {
    GalleryBrowserState& state = model.state();
    EXPECT_EQ(state.selectedCategory(), Category::apps);
    EXPECT_EQ(state.selectedId(), "gallery-apple-calendar");
    EXPECT_FALSE(state.isSearching());

    state.chooseWheel("gallery-discord");
    workspace.installed["org.keepassxc.keepassxc"] =
        "/usr/share/applications/org.keepassxc.keepassxc.desktop";
    workspace.installed["org.mozilla.firefox"] = "/usr/share/applications/firefox.desktop";
    int told = 0;
    model.changed.connect([&] { ++told; });
    model.detectInstalled();
    EXPECT_TRUE(state.installedIDs().empty()); // the look happens away from the main thread
    background.runAll();
    queue.advance(0);
    EXPECT_EQ(told, 1);
    const auto shown = idsOf(state.displayedWheels());
    EXPECT_EQ(std::vector<std::string>(shown.begin(), shown.begin() + 3),
              (std::vector<std::string>{"gallery-firefox", "gallery-keepassxc", "gallery-apple-calendar"}));
    EXPECT_EQ(state.selectedId(), "gallery-firefox");
    EXPECT_TRUE(state.isInstalled(testsupport::galleryWheel("gallery-firefox")));
    EXPECT_FALSE(state.isInstalled(testsupport::galleryWheel("gallery-zoom")));

    // Elsewhere than Apps the check changes the order of nothing.
    state.chooseCategory(Category::fun);
    state.applyInstalled({"gallery-spotify"});
    EXPECT_EQ(state.selectedId(), "gallery-emoji");
}

TEST_F(Gallery, SearchingKeepsTheSelectionOnAListedWheel) {
    GalleryBrowserState& state = model.state();
    struct Step {
        std::string search;
        bool searching;
        std::string selected;
    };
    const std::vector<Step> steps{
        {"   ", false, "gallery-apple-calendar"},    // blanks are not a search
        {"slack", true, "gallery-slack"},            // the only match is selected
        {"zzz nothing", true, ""},                   // no match selects nothing
        {"", false, "gallery-apple-calendar"},       // back on the category's first wheel
        {"  wordle ", true, "gallery-time-killers"}, // trimmed, found by its summary
    };
    for (const Step& step : steps) {
        state.setSearchText(step.search);
        EXPECT_EQ(state.isSearching(), step.searching) << step.search;
        EXPECT_EQ(state.selectedId(), step.selected) << step.search;
    }
    EXPECT_EQ(state.selected()->id, "gallery-time-killers");
    state.chooseCategory(Category::system);
    EXPECT_EQ(state.searchText(), "");
    EXPECT_EQ(state.selectedId(), "gallery-system");
    EXPECT_TRUE(GalleryBrowserState::isAppWheel(testsupport::galleryWheel("gallery-teams")));
    EXPECT_FALSE(GalleryBrowserState::isAppWheel(testsupport::galleryWheel("gallery-browser")));
}

TEST_F(Gallery, TryingASliceOnlyDescribesItUnlessItIsALink) {
    struct Case {
        Slice slice;
        std::string message;
        bool opens;
    };
    const std::string twenty = "abcdefghijklmnopqrst";
    const std::vector<Case> cases{
        {sliceWith("T", MacroAction::Text{twenty}), "Types \u201C" + twenty + "\u201D into the app you're in",
         false},
        {sliceWith("T", MacroAction::Text{twenty + "u"}),
         "Types \u201C" + twenty + "\u2026\u201D into the app you're in", false},
        {sliceWith("T", MacroAction::Text{"a\nb\rc"}), "Types \u201Ca b\rc\u201D into the app you're in",
         false},
        // Twenty-one characters of which one is an emoji of several scalars.
        {sliceWith("T", MacroAction::Text{"\U0001F469\u200D\U0001F4BB" + twenty}),
         "Types \u201C\U0001F469\u200D\U0001F4BB" + twenty.substr(0, 19) +
             "\u2026\u201D into the app you're in",
         false},
        {sliceWith("L", MacroAction::Url{"https://www.example.com/a?b"}), "Opening www.example.com\u2026",
         true},
        {sliceWith("L", MacroAction::Url{"example dot com"}), "Opening example dot com\u2026", true},
        {sliceWith("Dark\nMode", MacroAction::SystemAction{"toggle-dark-mode"}),
         "\u201CToggle Dark Mode\u201D runs once you add this wheel", false},
        {sliceWith("Odd\nOne", MacroAction::SystemAction{"no-such-action"}),
         "\u201COdd One\u201D runs once you add this wheel", false},
        {sliceWith("K", MacroAction::Keystroke{KeyCombo{.keyCode = 8, .primary = true}}),
         "Sends Ctrl+C to the app you're in", false},
        {sliceWith("S", MacroAction::Script{"rm -rf ~"}), "Runs a shell script", false},
    };
    for (const Case& c : cases) {
        const GalleryTrial trial = trySlice(c.slice, workspace);
        EXPECT_EQ(trial.message, c.message);
        EXPECT_EQ(trial.opensLink, c.opens) << c.message;
    }
    // One that does nothing on this desktop does not promise to run.
    const auto dockOnly = [](const std::string& id) -> std::optional<std::string> {
        if (id == "toggle-dock-autohide") return "This desktop has nothing that does this.";
        return std::nullopt;
    };
    EXPECT_EQ(
        trySlice(sliceWith("Dock", MacroAction::SystemAction{"toggle-dock-autohide"}), workspace, dockOnly)
            .message,
        "“Toggle Dock Auto-Hide” isn't available on this desktop");
    EXPECT_EQ(trySlice(sliceWith("Dark", MacroAction::SystemAction{"toggle-dark-mode"}), workspace, dockOnly)
                  .message,
              "“Toggle Dark Mode” runs once you add this wheel");
}

TEST_F(Gallery, TryingOnThePreviewShowsAToastAndOpensOnlyLinks) {
    model.state().chooseWheel("gallery-time-killers");
    model.trySlice(1);
    EXPECT_EQ(opened, std::vector<std::string>{"https://play2048.co"});
    EXPECT_EQ(toastText(), "Opening play2048.co\u2026");

    // A desktop keystroke is described as this desktop gets it.
    model.state().chooseWheel("gallery-power-lock");
    model.trySlice(3);
    EXPECT_EQ(toastText(), "Sends Alt+F4 to the app you're in");
    model.trySlice(0);
    EXPECT_EQ(toastText(), "\u201CLock Screen\u201D runs once you add this wheel");
    EXPECT_EQ(opened.size(), 1u);

    // An empty slot, or no selection, does nothing.
    model.state().chooseWheel("gallery-screenshots");
    model.toast().hide();
    model.trySlice(6);
    model.state().setSearchText("zzz nothing");
    model.trySlice(0);
    EXPECT_FALSE(model.toast().current());
}

TEST_F(Gallery, ANewerToastOutlivesTheTimerOfTheOneItReplaced) {
    GalleryToast& toast = model.toast();
    toast.show("first");
    queue.advance(2.0);
    toast.show("second");
    queue.advance(0.5); // the first one's time is up
    EXPECT_EQ(toastText(), "second");
    queue.advance(1.8);
    EXPECT_EQ(toastText(), "second");
    queue.advance(0.2); // its own 2.4 s are up
    EXPECT_FALSE(toast.current());
    EXPECT_EQ(toast.token(), 2);

    toast.show("added", "wheel-x");
    queue.advance(3.9);
    EXPECT_TRUE(toast.current());
    queue.advance(0.2);
    EXPECT_FALSE(toast.current());
}

TEST_F(Gallery, AddingNamesBindsAndUndoes) {
    workspace.installed["com.microsoft.teams"] = "/usr/share/applications/teams.desktop";
    // The window wheel follows no application, whatever the desktop knows.
    workspace.installed["com.knollsoft.Rectangle"] = "/opt/rectangle.desktop";
    struct Case {
        std::string id;
        std::string name;
        std::optional<std::string> boundTo;
    };
    const std::vector<Case> cases{
        {"gallery-teams", "Microsoft Teams", "com.microsoft.teams"}, // the installed one of two
        {"gallery-teams", "Microsoft Teams 2", "com.microsoft.teams"},
        {"gallery-zoom", "Zoom", "us.zoom.xos"}, // nothing installed: the first listed
        {"gallery-kaomoji", "Kaomoji", std::nullopt},
        {"gallery-rectangle", "Window Tiling", std::nullopt},
        {"gallery-teams", "Microsoft Teams 3", "com.microsoft.teams"},
    };
    for (const Case& c : cases) {
        model.openSheet();
        model.addWheel(testsupport::galleryWheel(c.id));
        EXPECT_EQ(wheels.back().name, c.name);
        EXPECT_EQ(wheels.back().appBundleIdentifier, c.boundTo) << c.name;
        EXPECT_FALSE(model.sheetWheel());
    }
    EXPECT_EQ(toastText(), "Added \u201CMicrosoft Teams 3\u201D to My Wheels");
    const std::string addedId = wheels.back().id;
    model.viewAdded();
    EXPECT_EQ(viewed, std::vector<std::string>{addedId});
    EXPECT_TRUE(model.toast().current()); // View leaves the toast
    model.undoAdded();
    EXPECT_EQ(undos, 1);
    EXPECT_EQ(wheels.size(), 5u);
    EXPECT_FALSE(model.toast().current());

    // A freed number is taken again.
    EXPECT_EQ(uniqueWheelName("Zoom", {"Zoom", "Zoom 3"}), "Zoom 2");
    EXPECT_EQ(uniqueWheelName("Zoom", {"zoom"}), "Zoom");
}

// The list counts the actions a wheel brings on this desktop, as its review
// does, not the slots it has: slots the desktop has no key for stay empty.
TEST_F(Gallery, TheListCountsTheActionsTheWheelBringsHereAsTheReviewDoes) {
    const struct {
        std::string id;
        std::string desktop;
        std::string count;
    } rows[] = {
        {"gallery-rectangle", "", "8 actions"},      {"gallery-rectangle", "KDE", "6 actions"},
        {"gallery-rectangle", "GNOME", "6 actions"}, {"gallery-rectangle", "XFCE", "6 actions"},
        {"gallery-rectangle", "MATE", "5 actions"},  {"gallery-preview", "KDE", "5 actions"},
        {"gallery-preview", "MATE", "8 actions"},    {"gallery-teams", "", "5 actions"},
    };
    for (const auto& row : rows) {
        const GalleryWheel& gallery = testsupport::galleryWheel(row.id);
        EXPECT_EQ(GalleryBrowserState::actionCount(gallery, row.desktop), row.count)
            << row.id << " on " << row.desktop;
        const auto entries = WheelManifest::entries(WheelGallery::sentOn(gallery, row.desktop), workspace);
        EXPECT_TRUE(AddWheelReview::summaryLine(gallery, entries.size()).ends_with(" " + row.count))
            << row.id << " on " << row.desktop;
    }
}

TEST_F(Gallery, AFailedInstalledCheckLeavesEveryWheelUsable) {
    struct ThrowingWorkspace final : platform::Workspace {
        std::optional<std::string> applicationPath(const std::string&) const override {
            throw std::runtime_error("no desktop");
        }
        std::optional<std::string> applicationAt(const std::string&) const override { return std::nullopt; }
        void openApplication(const std::string&, std::function<void(bool)>) override {}
        void openLink(const std::string&, std::function<void(bool)>) override {}
        void revealFile(const std::string&, std::function<void(platform::Revealed)>) override {}
        std::optional<std::string> frontmostApplication() const override { return std::nullopt; }
        std::vector<platform::ApplicationEntry> applications() const override { return {}; }
    } broken;
    std::vector<std::string> logged;
    GalleryServices logging = services();
    logging.log = [&logged](const std::string& line) { logged.push_back(line); };
    GalleryBrowserModel failing{logging, queue, background, broken};
    failing.detectInstalled();
    background.runAll();
    queue.advance(0);
    ASSERT_EQ(logged.size(), 1u);
    EXPECT_NE(logged[0].find("(no desktop)"), std::string::npos) << logged[0];
    EXPECT_TRUE(failing.state().installedIDs().empty());
    EXPECT_EQ(failing.state().selectedId(), "gallery-apple-calendar");

    // A page gone before the check returns is left alone.
    auto gone = std::make_unique<GalleryBrowserModel>(services(), queue, background, workspace);
    gone->detectInstalled();
    gone.reset();
    background.runAll();
    queue.advance(0);
}

TEST(AddWheelReview, HeightsDetailsAndNotes) {
    struct Height {
        std::optional<double> visible;
        double sheet;
    };
    for (const Height& h : std::vector<Height>{{700, 640},
                                               {840, 780},
                                               {1200, 780},
                                               {std::nullopt, 780},
                                               {340, 300},
                                               {200, 200},
                                               {30, 30},
                                               {-5, 0}})
        EXPECT_EQ(AddWheelReview::sheetHeight(h.visible), h.sheet) << h.visible.value_or(-1);

    EXPECT_EQ(AddWheelReview::shownDetail("Sends Ctrl+Shift+T"), "Ctrl+Shift+T");
    EXPECT_EQ(AddWheelReview::shownDetail("Types \u201CSends \u201D"), "Types \u201CSends \u201D");
    EXPECT_EQ(AddWheelReview::summaryLine(testsupport::galleryWheel("gallery-slack"), 8),
              "Apps \u00B7 8 actions");

    Wheel wheel = testsupport::galleryWheel("gallery-browser").wheel;
    EXPECT_FALSE(AddWheelReview::trustNote(wheel).warns);
    EXPECT_EQ(AddWheelReview::trustNote(wheel).text, "Official Rondelix wheel");
    wheel.slices.push_back(Slice{Uuid::generate(), 8, "x", Icon::Auto{}, MacroAction::Script{"true"}});
    EXPECT_TRUE(AddWheelReview::trustNote(wheel).warns);
    EXPECT_EQ(AddWheelReview::trustNote(wheel).symbol, "exclamationmark.triangle.fill");
}

TEST(WorkshopLayout, WheelSizeFollowsTheSpace) {
    struct Case {
        double width, height, size;
    };
    for (const Case& c :
         std::vector<Case>{{1200, 800, 561}, {900, 700, 314.5}, {700, 500, 240}, {100, 50, 240}})
        EXPECT_DOUBLE_EQ(WorkshopLayout::wheelSize(c.width, c.height), c.size) << c.width << "x" << c.height;
}

TEST(WorkshopLayout, TheSwitchOvershootsALittleAndComesToRest) {
    double highest = 0;
    for (double t = 0; t <= WorkshopLayout::switchSeconds; t += 0.005)
        highest = std::max(highest, WorkshopLayout::switchProgress(t));
    EXPECT_GT(highest, 1.005);
    EXPECT_LT(highest, 1.02);
    EXPECT_EQ(WorkshopLayout::switchProgress(0), 0);
    EXPECT_GT(WorkshopLayout::switchProgress(0.15), 0.5);
    EXPECT_NEAR(WorkshopLayout::switchProgress(WorkshopLayout::switchSeconds - 0.001), 1, 0.002);
    EXPECT_EQ(WorkshopLayout::switchProgress(WorkshopLayout::switchSeconds), 1);
}

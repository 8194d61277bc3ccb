#include "app/WindowSizes.h"
#include "support/CoordinatorRig.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>

namespace rondelix {
namespace {

using testsupport::CoordinatorRig;
using Kind = AppWindows::Kind;
using nlohmann::json;

TEST(WindowSizes, OnlyTwoFiniteNumbersOfUsableSizeCountAsSaved) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double infinity = std::numeric_limits<double>::infinity();
    struct Row {
        const char* what;
        std::optional<json> stored;
        double width;
    };
    const Row rows[] = {
        {"nothing saved", std::nullopt, 1440},
        {"a narrow width is raised to the minimum", json{1000, 700}, 1080},
        {"a usable size", json{1200, 900}, 1200},
        {"the smallest accepted size, raised", json{400, 360}, 1080},
        {"too short", json{1300, 350}, 1440},
        {"too narrow", json{390, 900}, 1440},
        {"three numbers", json{1200, 900, 1}, 1440},
        {"one number", json{1200}, 1440},
        {"text", json("1200x900"), 1440},
        {"numbers as text", json{"1200", "900"}, 1440},
        {"negative", json{-1200, 900}, 1440},
        {"not a number", json{nan, 900.0}, 1440},
        {"endless", json{infinity, 900.0}, 1440},
        {"an object", json{{"width", 1200}, {"height", 900}}, 1440},
        {"accepted though no screen shows it", json{1e12, 900}, 1e12},
    };
    for (const Row& row : rows) {
        platform::sim::SimUserDefaults defaults;
        if (row.stored) defaults.store("WindowSize.wheels", *row.stored);
        EXPECT_EQ(mainContentSize(defaults, PageGroup::wheels), (ContentSize{row.width, 800})) << row.what;
    }
}

TEST(WindowSizes, EachGroupHasItsOwnKeyMinimumAndDefault) {
    platform::sim::SimUserDefaults defaults;
    EXPECT_EQ(mainContentSize(defaults, PageGroup::settings), (ContentSize{880, 800}));
    EXPECT_EQ(minimumContentSize(pageGroup(MainTab::general)), (ContentSize{480, 440}));
    EXPECT_EQ(minimumContentSize(pageGroup(MainTab::gallery)), (ContentSize{1080, 600}));

    saveWindowSize(defaults, {600, 500}, PageGroup::settings);
    EXPECT_EQ(defaults.stored("WindowSize.settings"), (json{600.0, 500.0}));
    EXPECT_EQ(mainContentSize(defaults, PageGroup::settings), (ContentSize{600, 800}));
    EXPECT_EQ(mainContentSize(defaults, PageGroup::wheels), (ContentSize{1440, 800}));

    saveWindowSize(defaults, {1200, 900}, PageGroup::wheels);
    forgetWindowSizes(defaults);
    EXPECT_TRUE(defaults.values().empty());
}

TEST(WindowSizes, AWindowLargerThanTheRoomIsFittedEvenBelowItsMinimum) {
    struct Row {
        ContentSize wanted, minimum, room;
        FittedSize expected;
    };
    const Row rows[] = {
        {{1440, 800}, {1080, 600}, {1600, 975}, {{1440, 800}, {1080, 600}, false}},
        {{1e12, 800}, {1080, 600}, {1600, 975}, {{1600, 800}, {1080, 600}, true}},
        {{1440, 800}, {1080, 600}, {800, 600}, {{800, 600}, {800, 600}, true}},
        {{880, 800}, {480, 440}, {1024, 700}, {{880, 700}, {480, 440}, true}},
        // No screen known: nothing to fit to.
        {{1440, 800}, {1080, 600}, {0, 0}, {{1440, 800}, {1080, 600}, false}},
    };
    for (const Row& row : rows) {
        const FittedSize fitted = fitToRoom(row.wanted, row.minimum, row.room);
        EXPECT_EQ(fitted.size, row.expected.size) << row.wanted.width << " in " << row.room.width;
        EXPECT_EQ(fitted.minimum, row.expected.minimum) << row.wanted.width << " in " << row.room.width;
        EXPECT_EQ(fitted.shrunk, row.expected.shrunk) << row.wanted.width << " in " << row.room.width;
    }
}

class MainWindowTest : public ::testing::Test {
  protected:
    AppCoordinator& open() {
        rig.open();
        rig.queue.runPending();
        return rig.c();
    }
    AppWindows::State main() { return rig.windows.state(Kind::main); }

    CoordinatorRig rig;
};

TEST_F(MainWindowTest, ANewWindowIsSizedForThePageItOpensOn) {
    struct Row {
        MainTab tab;
        ContentSize size, minimum;
    };
    for (const Row& row :
         {Row{MainTab::gallery, {1440, 800}, {1080, 600}}, Row{MainTab::general, {880, 800}, {480, 440}}}) {
        CoordinatorRig fresh;
        fresh.open().showMain(row.tab);
        EXPECT_EQ(fresh.windows.mainSize, row.size);
        EXPECT_EQ(fresh.windows.mainMinimum, row.minimum);
        EXPECT_TRUE(fresh.windows.state(Kind::main).key);
    }
}

TEST_F(MainWindowTest, TheUsersSizeIsKeptPerGroupAndOnlyItsWidthApplies) {
    open().showMain(MainTab::wheels);
    rig.windows.userResizes({1200, 900});
    EXPECT_EQ(rig.defaults.stored("WindowSize.wheels"), (json{1200.0, 900.0}));

    rig.c().setMainTab(MainTab::gallery);
    rig.c().resizeMainWindow(MainTab::gallery, true);
    EXPECT_EQ(rig.windows.mainSize, (ContentSize{1200, 800}));
    rig.c().setMainTab(MainTab::general);
    rig.c().resizeMainWindow(MainTab::general, true);
    EXPECT_EQ(rig.windows.mainSize, (ContentSize{880, 800}));
    EXPECT_EQ(rig.windows.mainMinimum, (ContentSize{480, 440}));
    rig.windows.userResizes({700, 500});
    EXPECT_EQ(rig.defaults.stored("WindowSize.settings"), (json{700.0, 500.0}));
    EXPECT_EQ(rig.defaults.stored("WindowSize.wheels"), (json{1200.0, 900.0}));
    EXPECT_EQ(rig.windows.fits, (std::vector<bool>{true, true}));

    rig.c().resetWindowSizes();
    EXPECT_FALSE(rig.defaults.hasStoredValue("WindowSize.wheels"));
    EXPECT_FALSE(rig.defaults.hasStoredValue("WindowSize.settings"));
    EXPECT_EQ(rig.windows.mainSize, (ContentSize{880, 800}));
}

TEST_F(MainWindowTest, AFullScreenOrMiniaturizedWindowKeepsItsSize) {
    open().showMain(MainTab::general);
    rig.windows.states[Kind::main].fullScreen = true;
    rig.c().resizeMainWindow(MainTab::wheels, true);
    rig.windows.miniaturize(Kind::main);
    rig.c().resizeMainWindow(MainTab::wheels, true);
    EXPECT_TRUE(rig.windows.fits.empty());
    EXPECT_EQ(rig.windows.mainMinimum, (ContentSize{480, 440}));
}

TEST_F(MainWindowTest, ABadSavedSizeFallsBackQuietly) {
    rig.defaults.store("WindowSize.wheels", "wide");
    open();
    const auto lines = rig.log.lines().size();
    for (int i = 0; i < 5; ++i)
        rig.c().showMain(MainTab::wheels);
    EXPECT_EQ(rig.windows.mainSize, (ContentSize{1440, 800}));
    EXPECT_EQ(rig.log.lines().size(), lines);
}

TEST_F(MainWindowTest, ToggleHidesOnlyAKeyWindow) {
    struct Row {
        const char* what;
        std::function<void(CoordinatorRig&)> arrange;
        bool visibleAfter;
        bool historyKept;
    };
    const Row rows[] = {
        {"no window yet: shown", [](CoordinatorRig&) {}, true, true},
        {"key: hidden, history emptied", [](CoordinatorRig& r) { r.c().showMain(MainTab::about); }, false,
         false},
        {"visible behind another: brought forward",
         [](CoordinatorRig& r) {
             r.c().showMain(MainTab::about);
             r.windows.resignKey(Kind::main);
         },
         true, true},
        {"miniaturized: restored",
         [](CoordinatorRig& r) {
             r.c().showMain(MainTab::about);
             r.windows.miniaturize(Kind::main);
         },
         true, true},
        {"closed: shown again",
         [](CoordinatorRig& r) {
             r.c().showMain(MainTab::about);
             r.windows.userCloses(Kind::main);
         },
         true, true},
    };
    for (const Row& row : rows) {
        CoordinatorRig r;
        r.open();
        row.arrange(r);
        r.c().configStore().editWheels(std::nullopt,
                                       [](std::vector<Wheel>& w) { w.front().name = "Edited"; });
        r.c().toggleMain(MainTab::gallery);
        EXPECT_EQ(r.windows.state(Kind::main).visible, row.visibleAfter) << row.what;
        EXPECT_EQ(r.windows.state(Kind::main).key, row.visibleAfter) << row.what;
        EXPECT_EQ(r.c().configStore().canUndo(), row.historyKept) << row.what;
        EXPECT_EQ(r.windows.mainMakes, 1) << row.what;
    }
}

TEST_F(MainWindowTest, TheProgramIsRegularWhileAnyWindowIsOnScreen) {
    open().showMain(MainTab::wheels);
    rig.c().showHowItWorks();
    EXPECT_EQ(rig.windows.policies, (std::vector<bool>{true}));

    rig.windows.userCloses(Kind::main);
    rig.queue.runPending();
    EXPECT_TRUE(rig.c().regularActivation()); // the guide is still open
    rig.windows.userCloses(Kind::howItWorks);
    EXPECT_TRUE(rig.c().regularActivation()); // one turn of the queue later
    rig.queue.runPending();
    EXPECT_EQ(rig.windows.policies, (std::vector<bool>{true, false}));

    rig.c().showMain(MainTab::wheels);
    rig.windows.miniaturize(Kind::main);
    rig.c().updateActivationPolicy();
    EXPECT_TRUE(rig.c().regularActivation());
    rig.c().showMain(MainTab::wheels);
    rig.c().toggleMain(MainTab::wheels); // hiding by toggle leaves at once
    EXPECT_EQ(rig.windows.policies, (std::vector<bool>{true, false, true, false}));
}

TEST_F(MainWindowTest, SideWindowsComeForwardExceptTheOnboardingWhichStartsAfresh) {
    rig.defaults.set(DefaultsKeys::hasCompletedOnboarding, false);
    open();
    ASSERT_EQ(rig.windows.onboardingOpens, 1);
    int sideNotices = 0;
    rig.c().changed.connect(
        [&](AppCoordinator::Property p) { sideNotices += p == AppCoordinator::Property::sideWindows; });

    rig.c().showOnboarding(OnboardingStep::ready);
    EXPECT_EQ(rig.windows.onboardingOpens, 2);
    EXPECT_EQ(rig.windows.onboardingStep, OnboardingStep::ready);
    EXPECT_FALSE(rig.defaults.get(DefaultsKeys::hasCompletedOnboarding)); // no dismissal recorded

    const auto listings = rig.background.pendingCount();
    rig.c().showShortcutSetup(std::nullopt);
    rig.c().showShortcutSetup("Toggle Focus");
    EXPECT_EQ(rig.windows.shortcutSetupOpens, 1);
    EXPECT_EQ(rig.windows.highlight, std::nullopt);
    EXPECT_EQ(rig.background.pendingCount(), listings + 2); // each call lists the Shortcuts again
    EXPECT_TRUE(rig.c().isSideWindowOpen(Kind::shortcutSetup));

    rig.c().showHowItWorks();
    rig.c().showHowItWorks();
    EXPECT_EQ(std::count(rig.windows.forwarded.begin(), rig.windows.forwarded.end(), Kind::howItWorks), 2);

    rig.windows.userCloses(Kind::shortcutSetup);
    EXPECT_FALSE(rig.c().isSideWindowOpen(Kind::shortcutSetup));
    EXPECT_GE(sideNotices, 4);
}

TEST_F(MainWindowTest, TheListenTapIsNudgedOnlyOnceTheSystemHasAnswered) {
    const auto installs = [this] {
        return std::count_if(rig.log.lines().begin(), rig.log.lines().end(), [](const std::string& line) {
            return line.rfind("Rondelix: installListenTap tapCreate ok=", 0) == 0;
        });
    };
    open();
    const auto before = installs();
    rig.inputAccess.state = platform::InputAccess::State::undetermined;
    rig.c().nudgeListenTap();
    EXPECT_EQ(installs(), before);
    rig.inputAccess.state = platform::InputAccess::State::denied;
    rig.c().nudgeListenTap();
    EXPECT_EQ(installs(), before + 1);
    rig.inputAccess.state = platform::InputAccess::State::granted;
    rig.c().nudgeListenTap();
    EXPECT_EQ(installs(), before + 2);
}

} // namespace
} // namespace rondelix

#include "guides/DemoChoreography.h"

#include "engine/SummonActions.h"
#include "engine/SummonFeedback.h"
#include "guides/DemoBackup.h"
#include "guides/DemoWheels.h"
#include "model/ConfigCoding.h"
#include "model/WheelState.h"
#include "overlay/OverlayController.h"
#include "platform/sim/SimAccessibility.h"
#include "platform/sim/SimNotifications.h"
#include "platform/sim/SimUserDefaults.h"
#include "support/CoordinatorRig.h"
#include "support/SimOverlaySurface.h"
#include "support/StoreRig.h"

#include <cmath>
#include <gtest/gtest.h>
#include <sstream>

namespace rondelix {
namespace {

using platform::Point;
using testing::readText;
using testing::writeText;

// What the audience of the demo would see and hear, one line per event with
// the virtual time in milliseconds; the warps of one glide make one line.
struct Trace {
    std::vector<std::string> lines;
    int warpsInGlide = 0;
    double glideStart = 0;

    void add(double seconds, const std::string& what) {
        std::ostringstream line;
        line << std::lround(seconds * 1000) << ' ' << what;
        lines.push_back(line.str());
        warpsInGlide = 0;
    }
    void warp(double seconds, Point to) {
        const int warps = warpsInGlide + 1;
        if (warps > 1)
            lines.pop_back();
        else
            glideStart = seconds;
        add(glideStart, "glide" + std::to_string(warps) + '>' + std::to_string(std::lround(to.x)) + ',' +
                            std::to_string(std::lround(to.y)));
        warpsInGlide = warps;
    }
};

class TracingScreens final : public platform::Screens {
  public:
    TracingScreens(Trace& trace, const platform::MainQueue& clock) : trace_(trace), clock_(clock) {}
    std::vector<platform::Screen> screens() const override { return layout; }
    std::optional<platform::Screen> mainScreen() const override {
        return layout.empty() ? std::nullopt : std::optional(layout.front());
    }
    Point pointerLocation() const override { return pointer; }
    void warpPointer(Point to) override {
        pointer = to;
        trace_.warp(clock_.now(), to);
    }
    platform::DisplayOptions displayOptions() const override { return {}; }

    std::vector<platform::Screen> layout{{{0, 0, 1920, 1080}, {0, 0, 1920, 1050}}};
    Point pointer{600, 500};

  private:
    Trace& trace_;
    const platform::MainQueue& clock_;
};

std::string describe(const MacroAction& action) {
    if (const auto* app = action.as<MacroAction::App>()) return "app:" + app->bundleIdentifier.value_or("");
    if (const auto* key = action.as<MacroAction::Keystroke>())
        return "key:" + std::to_string(key->combo.keyCode);
    if (const auto* system = action.as<MacroAction::SystemAction>()) return "system:" + system->id;
    if (action.is<MacroAction::Text>()) return "text";
    return "other";
}

// The demo on the simulated platform, with a store over a temporary home and
// the user's wheels "mine" and "other".
struct DemoRig : testing::StoreRig {
    struct Feedback final : SummonFeedback {
        DemoRig& rig;
        explicit Feedback(DemoRig& r) : rig(r) {}
        void aim() override { rig.note("tick"); }
        void fire() override { rig.note("fire"); }
    };
    struct Actions final : SummonActions {
        DemoRig& rig;
        explicit Actions(DemoRig& r) : rig(r) {}
        void fire(const MacroAction& action) override { rig.note("run " + describe(action)); }
    };

    DemoRig() {
        Config config;
        config.version = Config::currentVersion;
        config.wheels = {Wheel{"mine", "Mine", 6, {}, std::nullopt},
                         Wheel{"other", "Other", 4, {}, std::nullopt}};
        config.lastUsedWheelId = "other";
        config.behavior.position = Behavior::Position::textCaret;
        writeText(paths.config, writeConfigFile(config));
        wheelState.changed.connect([this](WheelState::Property property) {
            using P = WheelState::Property;
            if (property == P::activeWheelId) note("wheel " + wheelState.activeWheelId());
            if (property == P::isVisible) note(wheelState.isVisible() ? "open" : "close");
            if (property == P::aimedPosition && wheelState.aimedPosition())
                note("aim" + std::to_string(*wheelState.aimedPosition()));
        });
    }

    // Builds the store and the demo over the files on disk, as a start of the
    // program would; after a first open, first drops what a kill would drop.
    DemoChoreography& open() {
        demo.reset();
        overlay.reset();
        store.reset();
        store = StoreRig::open();
        if (!user) user = store->config();
        overlay = std::make_unique<OverlayController>(
            wheelState, [this] { return store->config().behavior; },
            OverlayController::Services{queue, screens, accessibility, escape}, panels.factory());
        demo = std::make_unique<DemoChoreography>(DemoChoreography::Services{
            *store, wheelState, *overlay, feedback, actions, queue, screens, notifications, defaults, log,
            DemoBackup::fileIn(home.path / ".config/rondelix"), [this] { return unlocked; }});
        demo->runningChanged.connect([this] {
            if (!demo->isRunning()) note("end");
        });
        return *demo;
    }
    void note(const std::string& what) { trace.add(queue.now(), what); }
    std::filesystem::path backup() const { return DemoBackup::fileIn(home.path / ".config/rondelix"); }
    // Plays from a clean trace at the current time and lets the run finish.
    std::vector<std::string> played(const std::string& scene) {
        trace.lines.clear();
        demo->play(scene);
        queue.advance(30);
        return trace.lines;
    }

    Trace trace;
    TracingScreens screens{trace, queue};
    platform::sim::SimAccessibility accessibility;
    testsupport::SimEscapeMonitor escape;
    testsupport::SimPanelFactory panels;
    WheelState wheelState;
    Feedback feedback{*this};
    Actions actions{*this};
    platform::sim::SimNotifications notifications;
    platform::sim::SimUserDefaults defaults;
    bool unlocked = true;
    // The user's configuration as the store first loaded it.
    std::optional<Config> user;
    std::unique_ptr<ConfigStore> store;
    std::unique_ptr<OverlayController> overlay;
    std::unique_ptr<DemoChoreography> demo;
};

using Lines = std::vector<std::string>;

TEST(DemoChoreography, EachSceneRunsItsStepsAtTheirTimes) {
    struct Case {
        const char* scene;
        Lines expected;
    };
    // A 0.3 s glide is 27 warps 11 ms apart, a 0.14 s glide 12; on a 320-point
    // wheel the slots lie 115.2 points from the centre (960,525).
    const Case cases[] = {
        {"launch",
         {"0 glide27>960,525", "647 wheel demo-apps", "647 open", "1197 glide12>1041,606", "1329 aim1",
          "1329 tick", "1529 glide12>1075,525", "1661 aim2", "1661 tick", "2161 fire",
          "2161 run app:com.apple.Notes", "2161 close", "3361 wheel mine", "3361 end"}},
        {"type",
         {"0 glide27>960,525", "297 wheel demo-notes", "297 open", "847 glide12>960,640", "979 aim0",
          "979 tick", "1429 fire", "1429 run key:45", "1429 close", "2229 open", "2729 glide12>1060,583",
          "2861 aim1", "2861 tick", "3311 fire", "3311 run text", "3311 close", "4211 wheel mine",
          "4211 end"}},
        {"wheels",
         {"0 glide27>960,525", "297 wheel demo-apps", "297 open", "947 wheel demo-media", "947 tick",
          "1697 wheel demo-system", "1697 tick", "2447 close", "2847 wheel mine", "2847 end"}},
        {"dark",
         {"0 glide27>960,525", "297 wheel demo-system", "297 open", "847 glide12>960,640", "979 aim0",
          "979 tick", "1179 glide12>1060,583", "1311 aim1", "1311 tick", "1811 fire",
          "1811 run system:toggle-dark-mode", "1811 close", "4311 wheel mine", "4311 end"}},
    };
    for (const auto& c : cases) {
        DemoRig rig;
        rig.open();
        EXPECT_EQ(rig.played(c.scene), c.expected) << c.scene;
    }
}

TEST(DemoChoreography, AnyOtherNamePlaysAllFourScenesWithPausesBetween) {
    for (const char* scene : {"all", "", "Dark"}) {
        DemoRig rig;
        rig.open();
        Lines opened;
        for (const auto& line : rig.played(scene))
            if (line.find(" wheel demo-") != std::string::npos || line.find(" end") != std::string::npos)
                opened.push_back(line);
        // launch 3361 ms, type 4211, wheels 2847 and dark 4311, 900 ms apart.
        EXPECT_EQ(opened, (Lines{"647 wheel demo-apps", "4558 wheel demo-notes", "9669 wheel demo-apps",
                                 "10319 wheel demo-media", "11069 wheel demo-system", "17430 end"}))
            << '"' << scene << '"';
    }
}

TEST(DemoChoreography, GlidesWarpAboutNinetyTimesASecondAndNeverFewerThanFour) {
    struct Case {
        double seconds;
        DemoChoreography::GlidePlan plan;
    };
    const Case cases[] = {{0.3, {27, 11}}, {0.14, {12, 11}}, {0.01, {4, 2}}, {0.0, {4, 0}}};
    for (const auto& c : cases)
        EXPECT_EQ(DemoChoreography::glidePlan(c.seconds), c.plan) << c.seconds;
}

TEST(DemoChoreography, NoticesPlayOnlyWhileUnlockedAndOneRunAtATime) {
    using N = DemoChoreography;
    struct Case {
        const char* name;
        bool unlocked;
        std::vector<std::pair<const char*, std::optional<std::string>>> notices;
        Lines demoWheels; // the demo wheels shown, in order
    };
    const Case cases[] = {
        {"locked", false, {{N::playNotification, "dark"}}, {}},
        {"dark alone", true, {{N::playNotification, "dark"}}, {"wheel demo-system"}},
        {"second play ignored",
         true,
         {{N::playNotification, "wheels"}, {N::playNotification, "dark"}},
         {"wheel demo-apps", "wheel demo-media", "wheel demo-system"}},
        {"no text plays all",
         true,
         {{N::playNotification, std::nullopt}},
         {"wheel demo-apps", "wheel demo-notes", "wheel demo-apps", "wheel demo-media", "wheel demo-system"}},
        {"stop without a run", true, {{N::stopNotification, std::nullopt}}, {}},
    };
    for (const auto& c : cases) {
        DemoRig rig;
        rig.unlocked = c.unlocked;
        rig.open();
        for (const auto& [name, text] : c.notices)
            rig.notifications.post(name, text);
        rig.queue.advance(30);
        Lines shown;
        for (const auto& line : rig.trace.lines)
            if (const auto at = line.find("wheel demo-"); at != std::string::npos)
                shown.push_back(line.substr(at));
        EXPECT_EQ(shown, c.demoWheels) << c.name;
        EXPECT_EQ(rig.store->config(), *rig.user) << c.name;
        EXPECT_FALSE(std::filesystem::exists(rig.backup())) << c.name;
    }
}

TEST(DemoChoreography, StopMidGlideEndsTheRunAndRestoresOnlyTheSavedFields) {
    DemoRig rig;
    auto& demo = rig.open();
    demo.play("all");
    rig.queue.advance(0.1);
    ASSERT_TRUE(demo.isRunning());
    const Config& live = rig.store->config();
    EXPECT_EQ(live.behavior.position, Behavior::Position::screenCenter);
    EXPECT_EQ(live.lastUsedWheelId, "demo-apps");
    ASSERT_EQ(live.wheels.size(), 5u);
    // The backup holds exactly the user's wheels, compactly.
    const std::string backup = readText(rig.backup());
    EXPECT_EQ(backup.find('\n'), std::string::npos);
    EXPECT_EQ(DemoBackup::read(rig.backup()).wheels, rig.user->wheels);

    // Changes made during the run outlive it.
    const auto edit = [](Config& c) {
        c.behavior.opacity = 0.5;
        c.general.launchAtLogin = true;
        c.bindings.front().holdThresholdMs = 250;
    };
    rig.store->mutate(edit);
    Config expected = *rig.user;
    edit(expected);

    rig.notifications.post(DemoChoreography::stopNotification);
    EXPECT_FALSE(demo.isRunning());
    EXPECT_EQ(rig.store->config(), expected);
    EXPECT_EQ(rig.onDisk(), expected);
    EXPECT_FALSE(std::filesystem::exists(rig.backup()));
    EXPECT_FALSE(rig.defaults.hasStoredValue("demoSavedPosition"));
    EXPECT_FALSE(rig.wheelState.isVisible());
    const auto linesAtStop = rig.trace.lines.size();
    rig.queue.advance(30);
    EXPECT_EQ(rig.trace.lines.size(), linesAtStop) << "nothing of the run comes after the stop";
}

TEST(DemoChoreography, CancelInThePauseAfterTheFirstSceneEndsBeforeTheSecond) {
    DemoRig rig;
    auto& demo = rig.open();
    demo.play("all");
    rig.queue.advance(3.361 + 0.45);
    demo.cancel();
    rig.queue.advance(30);
    EXPECT_EQ(rig.trace.lines.back(), "3811 end");
    for (const auto& line : rig.trace.lines)
        EXPECT_EQ(line.find("demo-notes"), std::string::npos) << line;
    EXPECT_EQ(rig.store->config(), *rig.user);
    // A new run can start after a cancelled one.
    demo.play("wheels");
    EXPECT_TRUE(demo.isRunning());
}

TEST(DemoChoreography, ShownWheelFallsBackToTheUsersFirstOnlyWhenADemoWheelWasShown) {
    DemoRig rig;
    auto& demo = rig.open();
    rig.played("launch");
    EXPECT_EQ(rig.wheelState.activeWheelId(), "mine");

    demo.play("launch");
    rig.queue.advance(1);
    rig.wheelState.setActiveWheelId("other"); // the user summoned a wheel of their own meanwhile
    rig.queue.advance(30);
    EXPECT_EQ(rig.wheelState.activeWheelId(), "other");
}

TEST(DemoChoreography, DemoWheelsHoldTheirSlicesWithFreshIds) {
    const auto wheels = DemoWheels::make();
    struct Expected {
        const char* id;
        const char* name;
        int sliceCount;
        std::optional<std::string> boundApplication;
        Lines labels;
    };
    const Expected expected[] = {
        {"demo-apps",
         "Apps",
         8,
         std::nullopt,
         {"Mail", "Web Browser", "Notes", "Calculator", "Music", "Photos", "Terminal", "Calendar"}},
        {"demo-media", "Media", 4, std::nullopt, {"Play / Pause", "Next", "Mute", "Previous"}},
        {"demo-system",
         "System",
         6,
         std::nullopt,
         {"Do Not Disturb", "Dark Mode", "Wi-Fi", "Overview", "Lock Screen", "Screenshot"}},
        {"demo-notes",
         "Notes",
         6,
         "com.apple.Notes",
         {"New Note", "Canned Reply", "Checklist", "Run Script", "Shortcut", "Table"}},
        {"demo-web", "Web", 6, std::nullopt, {"Docs", "GitHub", "YouTube", "Reddit", "Maps", "Weather"}},
    };
    ASSERT_EQ(wheels.size(), std::size(expected));
    for (std::size_t i = 0; i < wheels.size(); ++i) {
        const Wheel& w = wheels[i];
        EXPECT_EQ(w.id, expected[i].id);
        EXPECT_TRUE(DemoWheels::isDemoId(w.id));
        EXPECT_EQ(w.name, expected[i].name);
        EXPECT_EQ(w.sliceCount, expected[i].sliceCount);
        EXPECT_EQ(w.appBundleIdentifier, expected[i].boundApplication);
        Lines labels;
        for (std::size_t p = 0; p < w.slices.size(); ++p) {
            EXPECT_EQ(w.slices[p].position, static_cast<int>(p));
            labels.push_back(w.slices[p].label);
        }
        EXPECT_EQ(labels, expected[i].labels) << w.id;
    }
    const auto& notes = wheels[3].slices;
    EXPECT_EQ(notes[0].action, MacroAction(MacroAction::Keystroke{{45, true, false, false, false}}));
    EXPECT_EQ(notes[2].action, MacroAction(MacroAction::Keystroke{{37, true, true, false, false}}));
    EXPECT_EQ(notes[5].action, MacroAction(MacroAction::Keystroke{{17, true, false, true, false}}));
    const std::string reply = notes[1].action.as<MacroAction::Text>()->text;
    EXPECT_TRUE(reply.starts_with(
        "Thanks for reaching out!\nWe got your message and will reply within 24 hours.\n- "));
    EXPECT_EQ(wheels[0].slices[2].action, MacroAction(MacroAction::App{"com.apple.Notes", std::nullopt}));
    EXPECT_TRUE(wheels[0].slices[2].icon.is<Icon::Auto>());
    EXPECT_EQ(wheels[2].slices[1].action, MacroAction(MacroAction::SystemAction{"toggle-dark-mode"}));
    for (const auto& slice : wheels[4].slices)
        EXPECT_TRUE(slice.action.as<MacroAction::Url>()->url.starts_with("https://")) << slice.label;
    EXPECT_NE(DemoWheels::make()[0].slices[0].id, wheels[0].slices[0].id);
}

TEST(DemoChoreography, WithoutABackupOnDiskTheWheelsAreNotSwapped) {
    DemoRig rig;
    auto& demo = rig.open();
    std::filesystem::create_directories(rig.backup() / "occupied");
    demo.play("all");
    rig.queue.advance(30);
    EXPECT_FALSE(demo.isRunning());
    EXPECT_EQ(rig.store->config(), *rig.user);
    EXPECT_TRUE(rig.trace.lines.empty());
    ASSERT_FALSE(rig.log.lines().empty());
    EXPECT_TRUE(
        rig.log.lines().back().starts_with("Rondelix: demo not started — couldn't back up your wheels: "))
        << rig.log.lines().back();
}

// The files a run leaves while the demo wheels are live: the configuration
// with them, the backup of the user's wheels and the saved position mode.
struct InterruptedRun {
    std::string liveConfig;
    std::string backup;
    nlohmann::json run; // the defaults' name of the run the backup belongs to
};

InterruptedRun interruptedRun() {
    DemoRig rig;
    rig.open().play("all");
    rig.queue.advance(1);
    return {readText(rig.paths.config), readText(rig.backup()), *rig.defaults.stored("demoBackupRun")};
}

TEST(DemoRecovery, AStartAfterAnInterruptedRunRestoresTheUsersWheelsOnce) {
    const InterruptedRun run = interruptedRun();
    struct Case {
        const char* name;
        std::function<void(Config&)> duringRun; // a change the user made before the kill
        Behavior::Position position;
    };
    const Case cases[] = {
        {"untouched", [](Config&) {}, Behavior::Position::textCaret},
        {"position changed during the run",
         [](Config& c) { c.behavior.position = Behavior::Position::cursor; }, Behavior::Position::cursor},
    };
    for (const auto& c : cases) {
        DemoRig rig;
        rig.open();
        auto live = *decodeConfigBytes(run.liveConfig);
        c.duringRun(live);
        writeText(rig.paths.config, writeConfigFile(live));
        writeText(rig.backup(), run.backup);
        rig.defaults.store("demoSavedPosition", "textCaret");
        rig.defaults.store("demoBackupRun", run.run);
        rig.wheelState.setActiveWheelId("demo-apps");

        rig.open();
        const Config& config = rig.store->config();
        EXPECT_EQ(config.wheels, rig.user->wheels) << c.name;
        EXPECT_EQ(config.behavior.position, c.position) << c.name;
        EXPECT_EQ(config.lastUsedWheelId, "mine") << c.name;
        EXPECT_EQ(rig.onDisk(), config) << c.name;
        EXPECT_EQ(rig.wheelState.activeWheelId(), "mine") << c.name;
        EXPECT_FALSE(std::filesystem::exists(rig.backup())) << c.name;
        EXPECT_FALSE(rig.defaults.hasStoredValue("demoSavedPosition")) << c.name;
        EXPECT_FALSE(rig.defaults.hasStoredValue("demoBackupRun")) << c.name;
        EXPECT_TRUE(rig.log.contains(
            "Rondelix: restored your wheels from demo-wheels-backup.json after a demo that did not finish."))
            << c.name;
    }
}

// A run killed after its backup and the defaults beside it were written but
// before the configuration was saved with the demo wheels: the user's wheels
// are all still in the configuration, so the backup keeps nothing and goes.
// One that holds a wheel the configuration lacks is the only copy of it.
TEST(DemoRecovery, ABackupWithoutLiveDemoWheelsGoesOnlyWhenTheConfigurationHoldsEveryWheelInIt) {
    const InterruptedRun run = interruptedRun();
    const Wheel gone{"gone", "Gone", 4, {}, std::nullopt};
    for (const bool holdsEveryWheel : {true, false}) {
        SCOPED_TRACE(holdsEveryWheel ? "killed between the backup and the save" : "a wheel only it holds");
        DemoRig rig;
        rig.open();
        std::vector<Wheel> backedUp = rig.user->wheels;
        if (!holdsEveryWheel) backedUp.push_back(gone);
        ASSERT_TRUE(DemoBackup::write(rig.backup(), backedUp).ok());
        rig.defaults.store("demoSavedPosition", "textCaret");
        rig.defaults.store("demoBackupRun", run.run);
        rig.log.clear();
        rig.open();
        EXPECT_EQ(rig.store->config().wheels, rig.user->wheels);
        EXPECT_EQ(std::filesystem::exists(rig.backup()), !holdsEveryWheel);
        EXPECT_EQ(rig.defaults.hasStoredValue("demoBackupRun"), !holdsEveryWheel);
        EXPECT_EQ(rig.log.lines(),
                  Lines{holdsEveryWheel
                            ? "Rondelix: removed demo-wheels-backup.json: your configuration holds "
                              "every wheel in it."
                            : "Rondelix: demo-wheels-backup.json found, but no demo wheel is in use "
                              "— kept it as it is."});
    }
}

TEST(DemoRecovery, ABackupReplacesOnlyTheDemoWheelsOfItsOwnRun) {
    const InterruptedRun run = interruptedRun();
    const InterruptedRun other = interruptedRun();
    const Wheel added{"added", "Added", 4, {}, std::nullopt};
    struct Case {
        const char* name;
        std::vector<Wheel> live;
        std::optional<nlohmann::json> run;
        std::optional<std::vector<Wheel>> restored; // none: nothing changes
    };
    const auto demoOf = [](const InterruptedRun& r) { return decodeConfigBytes(r.liveConfig)->wheels; };
    DemoRig probe;
    probe.open();
    const std::vector<Wheel> mine = probe.user->wheels;
    // Wheels changed since the backup, then a file saved during another run opened.
    std::vector<Wheel> mineThenDemo = mine;
    mineThenDemo[0].name = "Renamed since";
    mineThenDemo.push_back(demoOf(other).front());
    std::vector<Wheel> demoAndAdded = demoOf(run);
    demoAndAdded.insert(demoAndAdded.begin() + 1, added);
    std::vector<Wheel> demoAndEdited = demoOf(run);
    demoAndEdited.push_back(Wheel{"mine", "Edited", 4, {}, std::nullopt});
    std::vector<Wheel> mineAndAdded = mine;
    mineAndAdded.push_back(added);
    const Case cases[] = {
        {"demo wheels of another run", mineThenDemo, run.run, std::nullopt},
        {"no run named", demoOf(run), std::nullopt, std::nullopt},
        {"its run, with a wheel added", demoAndAdded, run.run, mineAndAdded},
        {"its run, with one of the user's wheels live", demoAndEdited, run.run,
         std::vector<Wheel>{demoAndEdited.back(), mine[1]}},
    };
    for (const auto& c : cases) {
        DemoRig rig;
        rig.open();
        Config live = rig.store->config();
        live.wheels = c.live;
        writeText(rig.paths.config, writeConfigFile(live));
        writeText(rig.backup(), run.backup);
        if (c.run) rig.defaults.store("demoBackupRun", *c.run);
        rig.log.clear();
        rig.open();
        EXPECT_EQ(rig.store->config().wheels, c.restored.value_or(c.live)) << c.name;
        EXPECT_EQ(std::filesystem::exists(rig.backup()), !c.restored) << c.name;
        if (!c.restored) {
            EXPECT_EQ(rig.log.lines(),
                      Lines{"Rondelix: demo-wheels-backup.json found, but the demo wheels in use "
                            "are not from its run — kept it as it is."})
                << c.name;
        }
    }
}

TEST(DemoRecovery, AnUntrustworthyBackupIsSetAsideAndReplacesNothing) {
    const InterruptedRun run = interruptedRun();
    struct Case {
        const char* name;
        std::string bytes;
        const char* reason;
        // Past this size through a hole, which the disk does not hold.
        std::size_t grownTo = 0;
    };
    const Case cases[] = {
        {"not JSON", "{{{ not json", "it is not JSON"},
        {"truncated", run.backup.substr(0, run.backup.size() / 2), "it is not JSON"},
        {"an object", R"({"wheels": []})", "it is not a list of wheels"},
        {"numbers", "[1, 2]", "it holds something that is not a wheel"},
        {"a wheel of wrong types", R"([{"id": 7, "sliceCount": "eight"}])",
         "it holds something that is not a wheel"},
        {"larger than a configuration may be", "[", "it is too large", maxConfigFileBytes + 1},
    };
    for (const auto& c : cases) {
        DemoRig rig;
        rig.open();
        writeText(rig.paths.config, run.liveConfig);
        writeText(rig.backup(), c.bytes);
        if (c.grownTo) std::filesystem::resize_file(rig.backup(), c.grownTo);
        rig.open();
        EXPECT_EQ(rig.store->config().wheels, decodeConfigBytes(run.liveConfig)->wheels) << c.name;
        EXPECT_FALSE(std::filesystem::exists(rig.backup())) << c.name;
        bool setAside = false;
        for (const auto& name : rig.listing())
            setAside = setAside || name.starts_with("demo-wheels-backup.corrupt-");
        EXPECT_TRUE(setAside) << c.name;
        ASSERT_FALSE(rig.log.lines().empty());
        EXPECT_TRUE(rig.log.lines().back().starts_with(
            std::string("Rondelix: demo-wheels-backup.json is unusable (") + c.reason +
            ") — set aside as demo-wheels-backup.corrupt-"))
            << rig.log.lines().back();
    }
}

TEST(DemoRecovery, AKillAtAnyWriteOfSetUpOrCleanUpLeavesTheUsersWheelsForTheNextStart) {
    // The files of one real run before, during and after it. Every write is
    // atomic, so a kill leaves each file old or new, and at most the
    // temporary file of the write it cut short.
    DemoRig run;
    run.open();
    const std::string before = readText(run.paths.config);
    run.demo->play("all");
    run.queue.advance(1);
    const std::string during = readText(run.paths.config);
    const std::string backup = readText(run.backup());
    const nlohmann::json runName = *run.defaults.stored("demoBackupRun");
    run.demo->cancel();
    const std::string after = readText(run.paths.config);
    const auto half = [](const std::string& text) { return text.substr(0, text.size() / 2); };

    struct State {
        const char* name;
        std::string config;
        std::optional<std::string> backup;
        bool positionSaved;
        std::optional<std::pair<const char*, std::string>> leftover;
    };
    const State states[] = {
        {"writing the backup", before, std::nullopt, false,
         std::pair{"demo-wheels-backup.json.tmp", half(backup)}},
        {"backup written", before, backup, true, std::nullopt},
        {"writing the demo wheels", before, backup, true, std::pair{"config.json.tmp", half(during)}},
        {"demo wheels saved", during, backup, true, std::nullopt},
        {"writing the restore", during, backup, true, std::pair{"config.json.tmp", half(after)}},
        {"restored", after, backup, true, std::nullopt},
        {"backup removed", after, std::nullopt, false, std::nullopt},
    };
    for (const auto& state : states) {
        DemoRig rig;
        rig.open();
        writeText(rig.paths.config, state.config);
        if (state.backup) writeText(rig.backup(), *state.backup);
        if (state.positionSaved) {
            rig.defaults.store("demoSavedPosition", "textCaret");
            rig.defaults.store("demoBackupRun", runName);
        }
        if (state.leftover) writeText(rig.paths.folder / state.leftover->first, state.leftover->second);
        rig.open();
        EXPECT_EQ(rig.store->config().wheels, rig.user->wheels) << state.name;
        EXPECT_EQ(rig.store->config().behavior.position, Behavior::Position::textCaret) << state.name;
        EXPECT_EQ(rig.onDisk()->wheels, rig.user->wheels) << state.name;
        // And the next run starts and ends as any other.
        rig.played("wheels");
        EXPECT_EQ(rig.store->config().wheels, rig.user->wheels) << state.name;
        EXPECT_FALSE(std::filesystem::exists(rig.backup())) << state.name;
    }
}

TEST(DemoInTheProgram, PlaysOnANoticeOnceUnlockedAndQuittingMidRunGivesTheWheelsBack) {
    testsupport::CoordinatorRig rig;
    auto& c = rig.open();
    const auto wheels = c.configStore().config().wheels;
    const auto backup = DemoBackup::fileIn(rig.home.path / ".config/rondelix");
    rig.notifications.post(DemoChoreography::playNotification, "wheels");
    EXPECT_FALSE(c.demo().isRunning());

    c.unlockDevMenu();
    rig.notifications.post(DemoChoreography::playNotification, "wheels");
    rig.queue.advance(1);
    ASSERT_TRUE(c.demo().isRunning());
    EXPECT_TRUE(std::filesystem::exists(backup));
    EXPECT_EQ(c.wheelState().activeWheelId(), "demo-media");

    c.applicationWillTerminate();
    EXPECT_FALSE(c.demo().isRunning());
    EXPECT_EQ(c.configStore().config().wheels, wheels);
    EXPECT_EQ(decodeConfigBytes(readText(c.configStore().paths().config))->wheels, wheels);
    EXPECT_FALSE(std::filesystem::exists(backup));
}

} // namespace
} // namespace rondelix

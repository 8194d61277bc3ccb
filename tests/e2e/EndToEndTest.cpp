// The built program under a real X server, driven the way a user drives it:
// xdotool holds the summon keys and moves the pointer; the test looks at the
// screen and at what the fired slice left behind.

#include "EndToEndRig.h"

#include <iostream>
#include <random>

namespace rondelix {
namespace {

using namespace e2e;

TEST_F(EndToEnd, SummonAimReleaseFiresTheSliceAndEscFiresNothing) {
    Program program(home.path);
    ASSERT_TRUE(program.waitForLine("Rondelix: ready.")) << program.log();
    const auto readyMs =
        std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - program.started).count();
    pause(1.0); // past the steps a start defers
    const long residentKiB = program.residentKiB();
    std::cout << "[ measured ] ready after " << readyMs << " ms; resident " << residentKiB / 1024.0
              << " MiB\n";

    const QPoint pointer(800, 520);
    const QRect wheel = summonAt(pointer, "e2e-wheel-open.png");
    ASSERT_GE(wheel.width(), 300) << program.log();
    EXPECT_NEAR(wheel.center().x(), pointer.x(), 24);
    EXPECT_NEAR(wheel.center().y(), pointer.y(), 24);

    aimAtTopSlot();
    grabScreen().save(artifact("e2e-wheel-aimed.png"));
    release();
    EXPECT_TRUE(waitFor([&] { return fs::exists(home.marker); }, 5)) << program.log();

    fs::remove(home.marker);
    pause(0.5);
    const QRect again = summonAt(pointer, "e2e-wheel-before-esc.png");
    ASSERT_GE(again.width(), 300);
    aimAtTopSlot();
    xdotool("key Escape");
    release();
    pause(1.5);
    EXPECT_FALSE(fs::exists(home.marker));

    EXPECT_EQ(program.stop(), 0);
    const auto defaults = nlohmann::json::parse(readFile(home.configFolder() / "defaults.json"));
    EXPECT_EQ(defaults.value("diag.launchInProgress", true), false);
}

TEST_F(EndToEnd, ASecondStartHandsOverToTheRunningProgramAndExits) {
    Program first(home.path, "first");
    ASSERT_TRUE(first.waitForLine("Rondelix: ready."));
    Program second(home.path, "second");
    EXPECT_EQ(second.exit(), 0);
    EXPECT_TRUE(second.hasLine("Rondelix is already running; its window was brought forward."));
    EXPECT_EQ(first.stop(), 0);
}

// Help, version and mistakes are answered without a display and without a
// word to the running program; the toolkit's own options reach the toolkit.
TEST_F(EndToEnd, TheCommandLineAnswersHelpVersionAndMistakesAndPassesToolkitOptionsOn) {
    Program first(home.path, "first");
    ASSERT_TRUE(first.waitForLine("Rondelix: ready."));
    const struct {
        QStringList arguments;
        int status;
        std::string out, err;
    } cases[] = {
        {{"--help"}, 0, "Usage: rondelix [--verbose] [--help] [--version] [toolkit options]\n", ""},
        {{"--version"}, 0, "rondelix 0.1.0\n", ""},
        {{"--verbose", "--bogus"}, 2, "", "rondelix: unrecognized option '--bogus'\nUsage: rondelix"},
        {{"wheels.json"}, 2, "", "rondelix: unexpected argument 'wheels.json'\nUsage: rondelix"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.arguments.join(' ').toStdString());
        QProcess run;
        QProcessEnvironment bare;
        bare.insert("HOME", QString::fromStdString(home.path.string()));
        // The running program's folder: a start that asked it anything would say so.
        bare.insert("XDG_RUNTIME_DIR", QString::fromStdString((home.path / "runtime").string()));
        run.setProcessEnvironment(bare);
        run.start(RONDELIX_PROGRAM, c.arguments);
        ASSERT_TRUE(run.waitForFinished(5000));
        EXPECT_EQ(run.exitCode(), c.status);
        const std::string out = run.readAllStandardOutput().toStdString();
        const std::string err = run.readAllStandardError().toStdString();
        EXPECT_EQ(out.substr(0, c.out.size()), c.out) << out;
        EXPECT_EQ(err.substr(0, c.err.size()), c.err) << err;
        EXPECT_EQ(c.out.empty(), out.empty()) << out;
        EXPECT_EQ(c.err.empty(), err.empty()) << err;
    }
    EXPECT_EQ(first.stop(), 0);

    // The display given to the toolkit, none in the environment.
    QProcess run;
    QProcessEnvironment bare;
    bare.insert("HOME", QString::fromStdString(home.path.string()));
    bare.insert("PATH", qEnvironmentVariable("PATH"));
    bare.insert("XDG_RUNTIME_DIR", QString::fromStdString((home.path / "runtime").string()));
    run.setProcessEnvironment(bare);
    run.setProcessChannelMode(QProcess::MergedChannels);
    run.start(RONDELIX_PROGRAM, {"-display", qEnvironmentVariable("DISPLAY")});
    std::string said;
    EXPECT_TRUE(waitFor(
        [&] {
            run.waitForReadyRead(10);
            said += run.readAll().toStdString();
            return said.find("Rondelix: ready.") != std::string::npos;
        },
        10))
        << said;
    run.terminate();
    EXPECT_TRUE(run.waitForFinished(5000));
    EXPECT_EQ(run.exitCode(), 0);
}

TEST_F(EndToEnd, ACrashedLaunchIsCountedByTheNextOne) {
    {
        Program crashing(home.path, "crashing");
        ASSERT_TRUE(crashing.waitForLine("Rondelix: ready."));
        // The launch is recorded right after the program is ready.
        ASSERT_TRUE(waitFor(
            [&] {
                const auto stored = storedDefaults(home);
                return stored.is_object() && stored.value("diag.launchInProgress", false);
            },
            5));
        crashing.process.kill();
        crashing.exit();
    }
    // The next launch tells of it once it is ready.
    Program next(home.path, "next");
    EXPECT_TRUE(
        next.waitForLine("Rondelix: launch health: PREVIOUS LAUNCH DID NOT COMPLETE — possible startup crash "
                         "(1 total — last on "))
        << next.log();
    EXPECT_EQ(next.stop(), 0);
}

TEST_F(EndToEnd, AMissingHomeFolderEndsWithASentence) {
    Program program(home.path / "nobody-lives-here", "missing-home", home.path);
    EXPECT_EQ(program.exit(), 1);
    EXPECT_TRUE(program.hasLine("Rondelix: can't start — the home folder ")) << program.log();
}

// The command copied somewhere without the program it runs.
TEST_F(EndToEnd, TheCommandWithoutItsProgramBesideItEndsWithASentence) {
    const fs::path folder = home.path / "alone";
    fs::create_directories(folder);
    fs::copy_file(RONDELIX_PROGRAM, folder / "rondelix");
    QProcess run;
    QProcessEnvironment bare;
    bare.insert("HOME", QString::fromStdString(home.path.string()));
    run.setProcessEnvironment(bare);
    run.setProcessChannelMode(QProcess::MergedChannels);
    run.start(QString::fromStdString((folder / "rondelix").string()), {"--verbose"});
    ASSERT_TRUE(run.waitForFinished(5000));
    EXPECT_EQ(run.exitCode(), 1);
    EXPECT_EQ(run.readAll().toStdString(), "Rondelix: can't start — its program file " +
                                               (fs::canonical(folder) / "rondelix-app").string() +
                                               " can't be run: No such file or directory.\n");
}

TEST_F(EndToEnd, AnUnwritableConfigFolderKeepsTheFilesAndSaysSo) {
    // An older file makes the program upgrade and save it at once.
    auto config = nlohmann::json::parse(readFile(home.configFolder() / "config.json"));
    config["version"] = 18;
    writeFile(home.configFolder() / "config.json", config.dump(2));
    const std::string original = readFile(home.configFolder() / "config.json");
    if (::geteuid() == 0) {
        // Permissions do not bind the superuser; folders where the temporary
        // files must go refuse every write just the same.
        for (const char* name : {"config.json.tmp", "config.json.bak.tmp", "defaults.json.tmp"})
            fs::create_directories(home.configFolder() / name / "blocked");
    } else {
        fs::permissions(home.configFolder(), fs::perms::owner_read | fs::perms::owner_exec);
    }
    Program program(home.path, "unwritable");
    ASSERT_TRUE(program.waitForLine("Rondelix: ready.")) << program.log();
    // The launch is recorded in the user defaults right after "ready.".
    EXPECT_TRUE(program.waitForLine("Rondelix: could not save user defaults")) << program.log();
    EXPECT_EQ(program.stop(), 0);
    EXPECT_EQ(readFile(home.configFolder() / "config.json"), original);
}

// On a terminal the log lines go to the system log only; --verbose shows
// them there too, each once.
TEST_F(EndToEnd, LogLinesReachTheTerminalOnlyWhenAskedFor) {
    for (const bool verbose : {false, true}) {
        SCOPED_TRACE(verbose ? "verbose" : "quiet");
        Program program(home.path, verbose ? "terminal-verbose" : "terminal-quiet", {}, {},
                        verbose ? QStringList{"--verbose"} : QStringList{}, true);
        // Without a tray the main window opens once the program is ready.
        ASSERT_TRUE(waitFor([] { return !mainWindowId().empty(); }, 10)) << program.log();
        pause(0.5);
        ASSERT_EQ(::kill(program.pid(), SIGTERM), 0);
        EXPECT_EQ(program.exit(), 0) << program.log();
        const std::string log = program.log();
        if (!verbose) {
            EXPECT_EQ(log.find("Rondelix: "), std::string::npos) << log;
            continue;
        }
        const auto count = [&](const std::string& line) {
            std::size_t n = 0;
            for (auto at = log.find(line); at != std::string::npos; at = log.find(line, at + 1))
                ++n;
            return n;
        };
        EXPECT_EQ(count("Rondelix: ready."), 1u) << log;
        EXPECT_EQ(count("Rondelix: primeInputMonitoringRegistration (tap "), 1u) << log;
        EXPECT_GE(count("Rondelix: installListenTap tapCreate ok=true"), 1u) << log;
    }
}

TEST_F(EndToEnd, MyWheelsAddsRenamesAndFillsAWheelThatTheFileKeepsAndTheSummonOpens) {
    writeFile(home.path / ".local/share/applications/org.example.Atlas.desktop",
              "[Desktop Entry]\nType=Application\nName=Atlas\nExec=true\n");
    Program program(home.path, "editor");
    const std::string id = readyMainWindow(program);
    ASSERT_FALSE(id.empty()) << program.log();
    pause(0.6);
    const QRect frame = windowFrame(id);
    ASSERT_GT(frame.width(), 900);
    const auto field = wheelNameField(id);
    ASSERT_TRUE(field);
    const std::string nameField = pointText(*field);

    xdotool("mousemove " + nameField + " click 1");
    // Back from the name field: the preview, the pills, Export, Import, then
    // Add Wheel (undo and redo wait disabled).
    xdotool("key shift+Tab shift+Tab shift+Tab shift+Tab shift+Tab space");
    pause(0.3);
    xdotool("mousemove " + nameField + " click 1");
    xdotool("key ctrl+a");
    xdotool("type --delay 20 'Trip Planner'");
    // Ctrl+Z is the editor's, not the text field's or the Edit menu's: the
    // whole burst of typing goes back in one step, and comes again.
    // Each step waits for what it did to show, in the file or on screen: a
    // menu or dialog takes the keys only once it is up.
    const auto fileShows = [&](const std::function<bool(const Wheel&)>& check) {
        return waitFor(
            [&] {
                const auto config = decodeConfigBytes(readFile(home.configFolder() / "config.json"));
                return config && std::any_of(config->wheels.begin(), config->wheels.end(), check);
            },
            5);
    };
    const auto nameOnDisk = [&](const std::string& name) {
        return fileShows([&](const Wheel& w) { return w.name == name; });
    };
    const auto tripPlanner = [&](const std::function<bool(const Wheel&)>& check) {
        return fileShows([&](const Wheel& w) { return w.name == "Trip Planner" && check(w); });
    };
    const std::string pid = std::to_string(program.process.processId());
    const auto visibleWindows = [&] {
        const std::string ids = output("xdotool search --onlyvisible --pid " + pid + " 2>/dev/null");
        return std::count(ids.begin(), ids.end(), '\n');
    };
    ASSERT_TRUE(nameOnDisk("Trip Planner")) << program.log();
    pause(1.2); // past the window in which edits join one undo step
    xdotool("key ctrl+z");
    EXPECT_TRUE(nameOnDisk("Wheel 5"));
    xdotool("key ctrl+shift+z");
    EXPECT_TRUE(nameOnDisk("Trip Planner"));
    // On to the slot count, then the app menu's "Choose App…", where the
    // search finds the application the home folder has an entry for.
    xdotool("key Tab 6");
    ASSERT_TRUE(tripPlanner([](const Wheel& w) { return w.sliceCount == 6; })) << program.log();
    const auto windowsBefore = visibleWindows();
    xdotool("key Tab space");
    ASSERT_TRUE(waitFor([&] { return visibleWindows() > windowsBefore; }, 5)) << "no app menu";
    pause(0.2);
    xdotool("key Down Down Return");
    ASSERT_TRUE(
        waitFor([] { return !output("xdotool search --onlyvisible --name '^Choose App$'").empty(); }, 5));
    pause(0.3);
    xdotool("type --delay 20 Atlas");
    pause(0.3);
    grabScreen().save(artifact("editor-e2e-app-chooser.png"));
    xdotool("key Return");
    ASSERT_TRUE(tripPlanner([](const Wheel& w) { return w.appBundleIdentifier == "org.example.Atlas"; }));
    // Past Duplicate and Delete to the empty top slot's Add Action.
    xdotool("key Tab Tab Tab space");
    EXPECT_TRUE(tripPlanner([](const Wheel& w) { return !w.slices.empty(); }));
    grabScreen().save(artifact("editor-e2e-edited.png"));
    // The window has the keys back once the chooser closed, with no window
    // manager to hand them over.
    xdotool("key ctrl+w");
    EXPECT_TRUE(waitFor([] { return mainWindowId().empty(); }, 3));

    const auto onDisk = decodeConfigBytes(readFile(home.configFolder() / "config.json"));
    ASSERT_TRUE(onDisk);
    const auto added = std::find_if(onDisk->wheels.begin(), onDisk->wheels.end(),
                                    [](const Wheel& w) { return w.name == "Trip Planner"; });
    ASSERT_NE(added, onDisk->wheels.end()) << program.log();
    EXPECT_EQ(added->id.rfind("wheel-", 0), 0u);
    EXPECT_EQ(added->sliceCount, 6);
    EXPECT_EQ(added->appBundleIdentifier, "org.example.Atlas");
    ASSERT_EQ(added->slices.size(), 1u);
    EXPECT_EQ(added->slices[0].position, 0);
    EXPECT_EQ(added->slices[0].label, "New Action");
    const auto index = static_cast<int>(added - onDisk->wheels.begin());
    ASSERT_LT(index, 9);

    // Summoned, the wheel's number key brings it up.
    summonWheelByNumber(index, program, "editor-e2e-summoned.png", "editor-e2e-new-wheel-summoned.png");
    EXPECT_EQ(program.stop(), 0);
}

TEST_F(EndToEnd, TheGalleryAddsAReviewedWheelThatTheSummonOpens) {
    Program program(home.path, "gallery");
    const std::string id = readyMainWindow(program);
    ASSERT_FALSE(id.empty()) << program.log();
    addFromGallery(id, "kaomoji", "gallery-e2e");
    const auto kaomojiOnDisk = [&] {
        const auto config = decodeConfigBytes(readFile(home.configFolder() / "config.json"));
        if (!config) return -1;
        for (std::size_t i = 0; i < config->wheels.size(); ++i)
            if (config->wheels[i].name == "Kaomoji") return static_cast<int>(i);
        return -1;
    };
    ASSERT_TRUE(waitFor([&] { return kaomojiOnDisk() >= 0; }, 3)) << program.log();
    pause(0.3);
    grabScreen().save(artifact("gallery-e2e-added.png"));

    // Summoned with the binding, the new wheel's number key brings it up.
    const int index = kaomojiOnDisk();
    ASSERT_LT(index, 9);
    summonWheelByNumber(index, program, "gallery-e2e-summoned.png", "gallery-e2e-kaomoji-summoned.png");
    EXPECT_EQ(program.stop(), 0);
}

// The tray icon on a light panel, and on a dark one that publishes its text
// colour, awake and paused from its own menu.
TEST_F(EndToEnd, TheTrayIconTakesThePanelsTextColourAndDimsWhilePaused) {
    const struct {
        const char* name;
        QString tint;
        std::optional<QColor> text;
        bool darkInk;
    } panels[] = {{"light", "0xEEEEEE", std::nullopt, true}, {"dark", "0x222226", QColor(Qt::white), false}};
    for (const auto& panel : panels) {
        SCOPED_TRACE(panel.name);
        TrayPanel tray(panel.tint, panel.text);
        if (!tray.running) GTEST_SKIP() << "no tray host installed (scripts/setup installs trayer)";
        const QRect area = TrayPanel::area();
        Program program(home.path, std::string("tray-") + panel.name);
        ASSERT_TRUE(program.waitForLine("Rondelix: ready.")) << program.log();
        EXPECT_FALSE(program.hasLine("no system tray")) << program.log();
        EXPECT_TRUE(mainWindowId().empty());

        // Full-strength ink: near black on the light panel, near white on the dark one.
        const auto ink = [&](const QImage& image) {
            int count = 0;
            for (int y = 0; y < image.height(); ++y)
                for (int x = 0; x < image.width(); ++x) {
                    const int lightness = QColor(image.pixel(x, y)).lightness();
                    count += panel.darkInk ? lightness < 60 : lightness > 200;
                }
            return count;
        };
        QImage awake;
        EXPECT_TRUE(waitFor([&] { return ink(awake = grabScreen().copy(area)) > 20; }, 5)) << program.log();
        awake.scaled(area.size() * 4).save(artifact(std::string("e2e-tray-") + panel.name + "-panel.png"));

        // The icon's strongest part, where a click opens its menu; the first row pauses.
        QRect icon;
        for (int y = 0; y < awake.height(); ++y)
            for (int x = 0; x < awake.width(); ++x)
                if (ink(awake.copy(x, y, 1, 1)) == 1) icon |= QRect(x, y, 1, 1);
        const QPoint middle = area.topLeft() + icon.center();
        const QRect below(area.right() - 400, area.bottom() + 1, 400, 200);
        const QImage closed = grabScreen().copy(below);
        xdotool("mousemove " + std::to_string(middle.x()) + " " + std::to_string(middle.y()) + " click 1");
        ASSERT_TRUE(waitFor([&] { return grabScreen().copy(below) != closed; }, 5))
            << "the menu did not open";
        pause(0.2);
        xdotool("key Down Return");
        // Paused: no full-strength ink left, the mark still there in between.
        const auto faint = [](const QImage& image) {
            int count = 0;
            for (int y = 0; y < image.height(); ++y)
                for (int x = 0; x < image.width(); ++x) {
                    const int lightness = QColor(image.pixel(x, y)).lightness();
                    count += lightness > 70 && lightness < 190;
                }
            return count;
        };
        QImage paused;
        EXPECT_TRUE(waitFor(
            [&] {
                paused = grabScreen().copy(area);
                return ink(paused) == 0 && faint(paused) > 20;
            },
            5));
        paused.scaled(area.size() * 4)
            .save(artifact(std::string("e2e-tray-") + panel.name + "-panel-paused.png"));
        EXPECT_EQ(program.stop(), 0);
    }
}

class MainWindowEndToEnd : public EndToEnd, public ::testing::WithParamInterface<bool> {};

TEST_P(MainWindowEndToEnd, OpensOnMyWheelsWalksEveryPageByKeyboardAndComesBackOnASecondStart) {
    std::optional<WindowManager> manager;
    if (GetParam()) {
        manager.emplace();
        if (!manager->running) GTEST_SKIP() << "no window manager installed (scripts/setup installs openbox)";
    }
    const std::string variant = GetParam() ? "wm" : "bare";
    Program program(home.path, "main-window-" + variant);
    const std::string id = readyMainWindow(program);
    ASSERT_FALSE(id.empty()) << program.log();
    EXPECT_TRUE(waitFor([&] { return windowSize(id) == QSize(1440, 800); }, 3)) << windowSize(id).width();

    // Keys go to the window under the pointer when nothing manages focus.
    xdotool("mousemove 800 500");
    xdotool("windowactivate --sync " + id + " 2>/dev/null || true");
    pause(0.5);
    const QStringList pages{"my-wheels", "gallery",    "general",        "bindings",
                            "behavior",  "appearance", "sound-feedback", "about"};
    QImage previous;
    for (int i = 0; i < pages.size(); ++i) {
        if (i > 0) xdotool("key Down");
        pause(0.6); // the page change resizes the window, animated
        const QImage shot =
            QGuiApplication::primaryScreen()->grabWindow(id.empty() ? 0 : std::stoul(id)).toImage();
        shot.save(artifact("main-window-" + variant + "-" + pages[i].toStdString() + ".png"));
        EXPECT_NE(shot, previous) << "no change on reaching " << pages[i].toStdString();
        previous = shot;
    }
    EXPECT_EQ(windowSize(id), QSize(880, 800)); // the settings pages' width

    // Flicking the About page's mark fast enough unlocks the Development page,
    // which the sidebar then lists last.
    const QPoint origin = windowOrigin(id);
    const QPoint logo = origin + QPoint(220 + (880 - 220) / 2, 90);
    xdotool("mousemove " + std::to_string(logo.x()) + " " + std::to_string(logo.y()));
    xdotool("click --repeat 5 --delay 30 1");
    pause(3.5); // the mark comes to rest
    const QImage unlocked = grabWindow(id);
    unlocked.save(artifact("main-window-" + variant + "-about-unlocked.png"));
    const QPoint developmentRow = origin + QPoint(70, 219);
    xdotool("mousemove " + std::to_string(developmentRow.x()) + " " + std::to_string(developmentRow.y()));
    xdotool("click 1");
    pause(0.6);
    const QImage development = grabWindow(id);
    development.save(artifact("main-window-" + variant + "-development.png"));
    EXPECT_NE(development.copy(240, 0, 600, 300), unlocked.copy(240, 0, 600, 300))
        << "the Development page did not open";

    xdotool("key ctrl+w");
    EXPECT_TRUE(waitFor([] { return mainWindowId().empty(); }, 3));
    pause(0.3);
    EXPECT_FALSE(program.process.waitForFinished(300)); // no tray here, so closing is not quitting
    Program second(home.path, "second-" + variant);
    EXPECT_EQ(second.exit(), 0);
    EXPECT_TRUE(waitFor([] { return !mainWindowId().empty(); }, 3)) << program.log();

    xdotool("key ctrl+q");
    EXPECT_EQ(program.exit(), 0) << program.log();
}

INSTANTIATE_TEST_SUITE_P(WithAndWithoutWindowManager, MainWindowEndToEnd, ::testing::Bool(),
                         [](const auto& info) { return info.param ? "Managed" : "Bare"; });

// The slice form turns the top slot into a script by keyboard alone; the
// summon then fires what was typed.
TEST_F(EndToEnd, TheSliceFormMakesAScriptThatTheSummonFires) {
    home.setTopSlotAction(MacroAction::Text{"not yet"});

    Program program(home.path, "slice-form");
    openTopSliceInTheEditor(program);
    if (HasFatalFailure()) return;
    // From the wheel's name: its slot count, application menu, the two wheel
    // buttons and the slice menu, then the form's label, icon and action.
    xdotool("key Tab Tab Tab Tab Tab Tab Tab Tab");
    xdotool("type --delay 30 Sc");
    pause(0.3);
    xdotool("key Tab");
    xdotool("type --delay 10 \"touch '" + home.marker.string() + "'\"");
    const MacroAction typed = MacroAction::Script{"touch '" + home.marker.string() + "'"};
    // Every keystroke is saved; the last one lands a moment after xdotool ends.
    EXPECT_TRUE(waitFor(
        [&] {
            const auto top = home.topSlice();
            return top && top->action == typed;
        },
        5))
        << program.log();
    grabScreen().save(artifact("slice-form-e2e-script.png"));

    // Back to the icon menu: a symbol from the picker sheet.
    xdotool("key shift+Tab shift+Tab");
    xdotool("type --delay 30 Sy");
    pause(0.3);
    xdotool("key Tab space");
    std::string sheet;
    ASSERT_TRUE(waitFor(
        [&] { return !(sheet = output("xdotool search --onlyvisible --name '^Symbols$'")).empty(); }, 3));
    sheet = sheet.substr(0, sheet.find('\n'));
    xdotool("type --delay 20 bolt.fill");
    pause(0.4);
    grabScreen().save(artifact("slice-form-e2e-symbol-picker.png"));
    const QRect picker = windowFrame(sheet);
    EXPECT_EQ(picker.size(), QSize(540, 480));
    // The one cell left sits first in the grid, under the search row.
    xdotool("mousemove " + std::to_string(picker.x() + 27) + " " + std::to_string(picker.y() + 70) +
            " click 1");
    EXPECT_TRUE(waitFor(
        [&] {
            const auto top = home.topSlice();
            return top && top->icon == Icon(Icon::SfSymbol{"bolt.fill"});
        },
        3))
        << program.log();
    EXPECT_TRUE(waitFor([] { return output("xdotool search --onlyvisible --name '^Symbols$'").empty(); }, 3));

    // An emoji through the program's own popup.
    xdotool("key shift+Tab");
    xdotool("type --delay 30 E");
    pause(0.3);
    xdotool("key Tab Tab space");
    pause(0.6);
    xdotool("type --delay 20 rocket");
    pause(0.4);
    grabScreen().save(artifact("slice-form-e2e-emoji-popup.png"));
    xdotool("key Escape");
    EXPECT_TRUE(waitFor(
        [&] {
            const auto top = home.topSlice();
            return top && top->icon == Icon(Icon::Emoji{"\u2728"});
        },
        3))
        << program.log();

    ASSERT_TRUE(fireTopSlot(program, "slice-form-e2e-summoned.png"));
    EXPECT_TRUE(waitFor([&] { return fs::exists(home.marker); }, 5)) << program.log();
}

TEST_F(EndToEnd, ASliceOfANewerVersionIsToldNeverFiredAndKeptThroughAnEdit) {
    const auto newer = decodeDocument(
        nlohmann::json{{"runLater", {{"_0", "touch '" + home.marker.string() + "'"}}}}.dump(), decodeAction);
    ASSERT_TRUE(newer && newer->is<MacroAction::Unknown>());
    home.setTopSlotAction(*newer);

    Program program(home.path, "newer-slice");
    openTopSliceInTheEditor(program);
    if (HasFatalFailure()) return;
    pause(0.4);
    grabScreen().save(artifact("newer-slice-e2e-form.png"));

    // An edit of the same slice in the form keeps the action as the file had it.
    xdotool("key Tab Tab Tab Tab Tab Tab");
    xdotool("type --delay 30 Later");
    EXPECT_TRUE(waitFor(
        [&] {
            const auto top = home.topSlice();
            return top && top->label == "LaterMark";
        },
        5))
        << program.log();
    EXPECT_EQ(home.topSlice()->action, *newer);

    ASSERT_TRUE(fireTopSlot(program, "newer-slice-e2e-summoned.png"));
    pause(0.3);
    grabScreen().save(artifact("newer-slice-e2e-told.png"));
    pause(1.0);
    EXPECT_FALSE(fs::exists(home.marker));
    EXPECT_EQ(home.topSlice()->action, *newer);
}

TEST_F(EndToEnd, AHandEditWithAMistakeIsToldAndLeftInPlace) {
    Program program(home.path, "broken-edit");
    ASSERT_TRUE(program.waitForLine("Rondelix: ready.")) << program.log();
    pause(1.0);
    std::string text = readFile(home.configFolder() / "config.json");
    text.insert(text.find("\"wheels\""), "\"forgotComma\": 1\n");
    writeFile(home.configFolder() / "config.json", text);
    EXPECT_TRUE(program.waitForLine("Rondelix: config reload failed (")) << program.log();
    pause(0.3); // the HUD fades in
    grabScreen().save(artifact("broken-edit-e2e-told.png"));

    // A summon that ends on a wheel does not replace the user's file.
    ASSERT_TRUE(fireTopSlot(program, "broken-edit-e2e-summoned.png"));
    EXPECT_TRUE(waitFor([&] { return fs::exists(home.marker); }, 5)) << program.log();
    pause(0.5);
    EXPECT_EQ(readFile(home.configFolder() / "config.json"), text);
}

// Lets this process answer the X server while the program takes a paste
// from the clipboard this process holds.
void serveClipboard(double seconds) {
    const auto deadline = Clock::now() + std::chrono::duration<double>(seconds);
    while (Clock::now() < deadline)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
}

TEST_F(EndToEnd, AMegabyteLabelPastedOnOneLineKeepsTypingAndSurvivesAQuit) {
    Program program(home.path, "megabyte-label");
    openTopSliceInTheEditor(program);
    if (HasFatalFailure()) return;
    // From the wheel's name to the top slice's label field.
    xdotool("key Tab Tab Tab Tab Tab Tab");

    std::string label;
    while (label.size() < 1024 * 1024)
        label += "the quick brown fox jumps over the lazy dog ";
    QGuiApplication::clipboard()->setText(QString::fromStdString(label));
    xdotool("key ctrl+a ctrl+v");
    // Saved once the paste has come in and typing has paused.
    bool saved = false;
    for (int i = 0; i < 50 && !saved; ++i) {
        serveClipboard(0.2);
        const auto top = home.topSlice();
        saved = top && top->label == label;
    }
    ASSERT_TRUE(saved) << program.log();
    grabScreen().save(artifact("slice-form-e2e-megabyte-label.png"));

    // Keys after the paste go in at the caret, and a quit right after them
    // writes what is still held back.
    xdotool("type --delay 40 ok");
    pause(0.1);
    EXPECT_EQ(program.stop(), 0);
    EXPECT_EQ(home.topSlice()->label, label + "ok");
}

} // namespace
} // namespace rondelix

namespace rondelix {
namespace {

using namespace e2e;

TEST_F(EndToEnd, ANewSummonCombinationRecordedInTheBindingsPageReplacesTheOldOne) {
    // The main wheel's top slot opens the Bindings page.
    const Config config = home.setTopSlotAction(MacroAction::OpenSettings{"open-bindings"});

    Program program(home.path);
    ASSERT_TRUE(program.waitForLine("Rondelix: ready.")) << program.log();
    pause(1.0);
    const QPoint pointer(800, 520);
    ASSERT_TRUE(fireTopSlot(program, "e2e-settings-summon-old.png", pointer));
    pause(1.0);

    const std::string main = windowNamed("Rondelix");
    ASSERT_FALSE(main.empty()) << program.log();
    // Wholly on screen, wherever the window was placed.
    xdotool("windowmove --sync " + main + " 40 40");
    pause(0.5);
    const QRect window = windowGeometry(main);
    clickAt(window.topLeft() + buttonIn(config, MainTab::shortcuts, "record", window.size()));
    const std::string panel = windowNamed("Recording Summon Key");
    ASSERT_FALSE(panel.empty()) << program.log();
    grabScreen().save(artifact("e2e-settings-bindings-recording.png"));

    xdotool("keydown Control_L Shift_L");
    pause(0.3);
    xdotool("keyup Shift_L Control_L");
    pause(0.3);
    grabScreen().save(artifact("e2e-settings-bindings-captured.png"));
    const QRect popover = windowGeometry(panel);
    clickAt(QPoint(popover.center().x() + 49, popover.bottom() - 28)); // Confirm
    EXPECT_TRUE(waitFor(
        [&] {
            const auto saved = decodeConfigBytes(readFile(home.configFolder() / "config.json"));
            return saved && saved->bindings.front().keyCodes == std::vector<int>{59, 56};
        },
        3))
        << readFile(home.configFolder() / "config.json");
    grabScreen().save(artifact("e2e-settings-bindings.png"));
    xdotool("windowfocus --sync " + main + " key ctrl+w");
    EXPECT_TRUE(waitFor([] { return largestWindowNamed("Rondelix").empty(); }, 3));
    pause(0.5);

    // The new combination opens the wheel; the old one no longer does.
    xdotool("mousemove " + std::to_string(pointer.x()) + " " + std::to_string(pointer.y()));
    pause(0.3);
    const QImage before = grabScreen();
    xdotool("keydown Control_L Shift_L");
    QRect area;
    waitFor(
        [&] {
            area = changedArea(before, grabScreen(), pointer);
            return area.width() >= 300;
        },
        3);
    grabScreen().save(artifact("e2e-settings-summon-new.png"));
    xdotool("keyup Shift_L Control_L");
    EXPECT_GE(area.width(), 300) << program.log();
    pause(1.0);

    const QImage quiet = grabScreen();
    xdotool("keydown Alt_L Super_L");
    pause(1.5);
    EXPECT_LT(changedArea(quiet, grabScreen(), pointer).width(), 300);
    release();
    EXPECT_EQ(program.stop(), 0);
}

// The guides ------------------------------------------------------------------

TEST_F(EndToEnd, AFreshHomeWalksTheOnboardingByKeyboardAndThenSummons) {
    writeFile(home.configFolder() / "defaults.json", "{}");
    Program program(home.path, "onboarding");
    std::string id;
    ASSERT_TRUE(waitFor(
        [&] {
            id = largestWindowNamed("Welcome to Rondelix");
            return !id.empty();
        },
        10))
        << program.log();
    pause(0.5);
    const auto shoot = [&](const std::string& name) {
        grabScreen().copy(windowGeometry(id)).save(artifact(name));
    };
    const auto press = [&] {
        std::system(("xdotool windowfocus --sync " + id + " 2>/dev/null").c_str());
        xdotool("key Return");
    };
    const auto savedStep = [&](int step) {
        return waitFor([&] { return storedDefaults(home).value("onboardingResumeStep", -1) == step; }, 3);
    };
    EXPECT_TRUE(savedStep(0)) << program.log();
    shoot("onboarding-welcome.png");
    press(); // Get Started
    EXPECT_TRUE(savedStep(1)) << program.log();
    pause(0.3);
    shoot("onboarding-permissions.png");
    press(); // Continue: an X11 session grants both
    EXPECT_TRUE(savedStep(2)) << program.log();
    pause(0.3);
    shoot("onboarding-ready.png");
    EXPECT_TRUE(storedDefaults(home).value("onboardingLaunchAtLoginProposed", false));
    // The login item starts the command people start, not the program behind it.
    const std::string loginItem = readFile(home.path / ".config" / "autostart" / "rondelix.desktop");
    EXPECT_NE(loginItem.find("\nExec=" + fs::canonical(RONDELIX_PROGRAM).string() + "\n"), std::string::npos)
        << loginItem;
    press(); // Done
    EXPECT_TRUE(waitFor([] { return largestWindowNamed("Welcome to Rondelix").empty(); }, 3));
    EXPECT_TRUE(storedDefaults(home).value("hasCompletedOnboarding", false));
    EXPECT_FALSE(storedDefaults(home).value("onboardingSkipped", true));

    pause(0.5);
    const QRect wheel = summonAt(QPoint(800, 520), "onboarding-then-wheel.png");
    EXPECT_GE(wheel.width(), 300) << program.log();
    release();
    EXPECT_EQ(program.stop(), 0);
}

// Where the Install button of a card lies in the setup window opened on that
// card: measured on a twin of the window, laid out off screen with the same
// fonts and style.
QPoint installButtonIn(const std::string& highlight, const std::string& cardId) {
    testsupport::CoordinatorRig rig;
    rig.open();
    SliceIconSources icons;
    SideWindow twin(sidePage(AppWindows::Kind::shortcutSetup).title, {});
    twin.setAttribute(Qt::WA_DontShowOnScreen);
    twin.setContent(sidePage(AppWindows::Kind::shortcutSetup)
                        .content({rig.c(), icons}, {OnboardingStep::welcome, highlight}, &twin));
    twin.show();
    // Showing rebuilds the cards; the new ones are laid out a round later.
    for (int round = 0; round < 3; ++round)
        QApplication::processEvents();
    if (const auto* card = twin.findChild<QFrame*>(QString::fromStdString("card-" + cardId)))
        if (const auto* install = card->findChild<QPushButton*>("installButton"))
            return install->mapTo(&twin, install->rect().center());
    ADD_FAILURE() << "the twin shows no Install button on " << cardId;
    return {};
}

// The Bluetooth toggle on the main wheel's top slot, with a stand-in
// bluetoothctl on the path that records how it was called.
TEST_F(EndToEnd, InstallInTheSetupWindowLetsTheBluetoothToggleRunItsAutomation) {
    home.setTopSlotAction(MacroAction::SystemAction{"toggle-bluetooth"});
    const fs::path standIns = home.path / "stand-ins";
    const fs::path calls = home.path / "bluetoothctl-calls";
    writeFile(standIns / "bluetoothctl", "#!/bin/sh\necho \"$*\" >> '" + calls.string() +
                                             "'\n[ \"$1\" = show ] && echo 'Powered: no'\nexit 0\n");
    fs::permissions(standIns / "bluetoothctl", fs::perms::owner_all);
    const QByteArray path = qgetenv("PATH");
    qputenv("PATH", QByteArray::fromStdString(standIns.string()) + ":" + path);
    Program program(home.path, "setup");
    qputenv("PATH", path);
    ASSERT_TRUE(program.waitForLine("Rondelix: ready.")) << program.log();
    pause(1.0);

    // Fired while its automation is missing, the toggle opens the setup window
    // on its card.
    ASSERT_TRUE(fireTopSlot(program, "setup-e2e-fired-missing.png"));
    const std::string id = windowNamed("System Action Setup");
    ASSERT_FALSE(id.empty()) << program.log();
    pause(0.5);
    const QRect frame = windowGeometry(id);
    grabScreen().copy(frame).save(artifact("setup-e2e-window.png"));

    clickAt(frame.topLeft() + installButtonIn("Toggle Bluetooth", "toggle-bluetooth"));
    const fs::path automation = home.configFolder() / "automations" / "Toggle Bluetooth";
    ASSERT_TRUE(waitFor([&] { return fs::exists(automation); }, 3)) << program.log();
    EXPECT_NE(fs::status(automation).permissions() & fs::perms::owner_exec, fs::perms::none);
    pause(0.5);
    grabScreen().copy(frame).save(artifact("setup-e2e-installed.png"));
    std::system(("xdotool windowfocus --sync " + id + " 2>/dev/null").c_str());
    xdotool("key Return");
    EXPECT_TRUE(waitFor([] { return largestWindowNamed("System Action Setup").empty(); }, 3));

    pause(0.5);
    ASSERT_TRUE(fireTopSlot(program, "setup-e2e-fired-installed.png"));
    EXPECT_TRUE(waitFor([&] { return readFile(calls) == "show\npower on\n"; }, 5))
        << readFile(calls) << program.log();
    EXPECT_EQ(program.stop(), 0);
}

// The About page's How It Works button opens the guide; Return walks its five
// steps and closes it on the last; opened again it starts at the first.
TEST_F(EndToEnd, TheHowItWorksGuideWalksItsFiveStepsAndOpensAgainAtTheFirst) {
    const Config config = *decodeConfigBytes(readFile(home.configFolder() / "config.json"));
    Program program(home.path, "guide");
    ASSERT_TRUE(program.waitForLine("Rondelix: ready.")) << program.log();
    std::string main;
    ASSERT_TRUE(waitFor([&] { return !(main = mainWindowId()).empty(); }, 5)) << program.log();
    xdotool("mousemove 800 500");
    xdotool("windowactivate --sync " + main + " 2>/dev/null || true");
    pause(0.5);
    for (int page = 0; page < 7; ++page) { // down the sidebar to About
        xdotool("key Down");
        pause(0.3);
    }
    pause(0.6);
    const QRect window = windowGeometry(main);
    const QPoint howItWorks =
        window.topLeft() + buttonIn(config, MainTab::about, "howItWorks", window.size());
    const auto open = [&] {
        clickAt(howItWorks);
        return windowNamed("How Rondelix Works");
    };
    std::string id = open();
    ASSERT_FALSE(id.empty()) << program.log();
    pause(0.5);
    const QRect frame = windowGeometry(id);
    const auto shoot = [&] { return grabScreen().copy(frame); };
    const QImage first = shoot();
    QImage previous;
    const char* const names[] = {"summon", "aim", "fire", "switch", "customize"};
    for (const char* name : names) {
        const QImage shot = shoot();
        shot.save(artifact(std::string("guide-") + name + ".png"));
        EXPECT_NE(shot, previous) << name;
        previous = shot;
        std::system(("xdotool windowfocus --sync " + id + " 2>/dev/null").c_str());
        xdotool("key Return");
        pause(0.4);
    }
    EXPECT_TRUE(waitFor([] { return largestWindowNamed("How Rondelix Works").empty(); }, 3));

    id = open();
    ASSERT_FALSE(id.empty()) << program.log();
    pause(0.5);
    EXPECT_EQ(shoot(), first);
    EXPECT_EQ(program.stop(), 0);
}

// Text slices in terminals ----------------------------------------------------

// A text slice fired over a terminal that writes what it reads to a file: the
// line arrives both in a terminal that pastes with Ctrl+Shift+V and in xterm,
// which pastes only the primary selection, with Shift+Insert.
TEST_F(EndToEnd, ATextSliceFiredOverATerminalArrivesInIt) {
    // A window manager keeps the record of the frontmost window.
    WindowManager manager;
    if (!manager.running) GTEST_SKIP() << "no window manager installed (scripts/setup installs openbox)";
    const std::string line = "pasted by the wheel";
    home.setTopSlotAction(MacroAction::Text{line + "\n"});
    Program program(home.path, "terminal-paste");
    ASSERT_TRUE(program.waitForLine("Rondelix: ready.")) << program.log();
    pause(1.0);

    const struct {
        const char* name;
        std::function<QStringList(const std::string& reader)> arguments;
    } terminals[] = {
        {"xterm",
         [](const std::string& reader) {
             return QStringList{"-e", "sh", "-c", reader.c_str()};
         }},
        {"sakura",
         [](const std::string& reader) {
             return QStringList{"-x", ("sh -c '" + reader + "'").c_str()};
         }},
    };
    for (const auto& terminal : terminals) {
        SCOPED_TRACE(terminal.name);
        if (std::system(("command -v " + std::string(terminal.name) + " >/dev/null").c_str()) != 0) {
            ADD_FAILURE() << terminal.name << " is not installed (scripts/setup installs it)";
            continue;
        }
        const fs::path typed = home.path / (std::string(terminal.name) + "-typed");
        QProcess process;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("HOME", QString::fromStdString(home.path.string()));
        process.setProcessEnvironment(environment);
        process.start(terminal.name, terminal.arguments("cat > " + typed.string()));
        std::string window;
        ASSERT_TRUE(waitFor(
            [&] {
                window = output("xdotool search --onlyvisible --pid " + std::to_string(process.processId()) +
                                " 2>/dev/null");
                return !window.empty();
            },
            10))
            << terminal.name << " showed no window";
        window = window.substr(0, window.find('\n'));
        xdotool("windowactivate --sync " + window);
        pause(0.5);

        ASSERT_TRUE(fireTopSlot(program, std::string("e2e-terminal-") + terminal.name + "-summoned.png"));
        EXPECT_TRUE(waitFor([&] { return readFile(typed) == line + "\n"; }, 5))
            << readFile(typed) << program.log();
        pause(0.3);
        grabScreen().save(artifact(std::string("e2e-terminal-") + terminal.name + "-pasted.png"));
        process.kill();
        process.waitForFinished(3000);
    }
    EXPECT_EQ(program.stop(), 0);
}

// The wheel at the text caret -------------------------------------------------

TEST_F(EndToEnd, TheTextCaretSettingOpensTheWheelBelowTheCaretAndElseAtThePointer) {
    AccessibilityBus bus(home.path / "bus");
    ASSERT_TRUE(bus.ready) << "the accessibility bus did not start";
    Program program(home.path, "caret", {}, bus.environment());
    ASSERT_TRUE(program.waitForLine("Rondelix: ready.")) << program.log();
    // Focus changes reach the program only once it listens for them.
    ASSERT_TRUE(waitFor([&] { return bus.someoneListensFor("Object:StateChanged:Focused"); }, 10))
        << program.log();
    pause(1.0); // past the steps a start defers
    CaretWindow window(bus);
    ASSERT_FALSE(window.caret.isNull()) << "the text window did not take the focus";
    pause(0.3);

    // Esc before the release: the pointer aims at a slice of a wheel that
    // opened elsewhere, and nothing is to fire.
    const QPoint pointer(800, 700);
    const auto timedSummon = [&](const std::string& shot, std::optional<QPoint> around = {}) {
        const QRect area = summonAt(pointer, shot, around);
        xdotool("key Escape");
        release();
        pause(0.8);
        return std::pair{area, shownAfter};
    };
    const auto atPointer = [&](const QRect& area) {
        return area.width() >= 300 && std::abs(area.center().x() - pointer.x()) <= 24 &&
               std::abs(area.center().y() - pointer.y()) <= 24;
    };

    const auto [first, pointerSeconds] = timedSummon("e2e-caret-setting-off.png");
    EXPECT_TRUE(atPointer(first)) << program.log();

    auto config = nlohmann::json::parse(readFile(home.configFolder() / "config.json"));
    config["behavior"]["position"] = "textCaret";
    writeFile(home.configFolder() / "config.json", config.dump(2));
    ASSERT_TRUE(program.waitForLine("config reloaded from disk")) << program.log();

    // Centred under the caret, its disc 8 points below the caret's line.
    const QPoint caret = window.caret.topLeft();
    const auto [atCaret, caretSeconds] =
        timedSummon("e2e-wheel-at-caret.png", caret + QPoint(0, window.caret.height() + 170));
    EXPECT_NEAR(atCaret.center().x(), caret.x(), 24) << program.log();
    EXPECT_NEAR(atCaret.top(), caret.y() + window.caret.height() + 8, 24) << program.log();
    {
        // After the last character, where Qt has no character at the caret.
        const CaretWindow atEnd(bus, {"end"});
        ASSERT_FALSE(atEnd.caret.isNull()) << "the second text window did not take the focus";
        pause(0.3);
        const QPoint end = atEnd.caret.topLeft();
        const auto [atEndCaret, endSeconds] =
            timedSummon("e2e-wheel-at-caret-end.png", end + QPoint(0, atEnd.caret.height() + 170));
        EXPECT_NEAR(atEndCaret.center().x(), end.x(), 24) << program.log();
        EXPECT_NEAR(atEndCaret.top(), end.y() + atEnd.caret.height() + 8, 24) << program.log();
    }
    // The first window takes the focus back for the hang below.
    std::system("xdotool search --name '^Caret window$' windowactivate --sync >/dev/null 2>&1");
    pause(0.3);

    // A program that hangs costs the search's deadline and one message
    // time-out (0.15 s), not the bus's own time-out of many seconds; the
    // margin is for a busy test machine.
    ::kill(pid_t(window.process.processId()), SIGSTOP);
    const auto [hung, hungSeconds] = timedSummon("e2e-caret-program-hangs.png");
    ::kill(pid_t(window.process.processId()), SIGCONT);
    EXPECT_TRUE(atPointer(hung)) << program.log();
    EXPECT_LT(hungSeconds, pointerSeconds + 0.15 + 0.5);

    // One that went away, and then no accessibility bus at all: the pointer,
    // at once.
    window.process.kill();
    window.process.waitForFinished(2000);
    const auto [gone, goneSeconds] = timedSummon("e2e-caret-program-gone.png");
    EXPECT_TRUE(atPointer(gone)) << program.log();
    bus.stop();
    const auto [noBus, noBusSeconds] = timedSummon("e2e-caret-no-bus.png");
    EXPECT_TRUE(atPointer(noBus)) << program.log();
    std::cout << "[ measured ] summon to wheel on screen: pointer " << pointerSeconds * 1000 << " ms, caret "
              << caretSeconds * 1000 << " ms, hung program " << hungSeconds * 1000 << " ms, gone program "
              << goneSeconds * 1000 << " ms, no bus " << noBusSeconds * 1000 << " ms\n";
    EXPECT_EQ(program.stop(), 0);
}

} // namespace
} // namespace rondelix

// The demo --------------------------------------------------------------------

namespace rondelix {
namespace {

using namespace e2e;

class DemoEndToEnd : public EndToEnd {
  protected:
    // Where the Development page's demo button sits in the window.
    static constexpr int demoButtonX = 320;
    static constexpr int demoButtonY = 659;

    void SetUp() override {
        EndToEnd::SetUp();
        if (IsSkipped()) return;
        if (bus.address.empty()) GTEST_SKIP() << "needs dbus-daemon";
        writeFile(home.configFolder() / "defaults.json",
                  R"({"hasCompletedOnboarding": true, "onboardingSkipped": true, "devMenuUnlocked": true})");
    }
    std::vector<Wheel> wheelsOnDisk() const {
        const auto config = decodeConfigBytes(readFile(home.configFolder() / "config.json"));
        return config ? config->wheels : std::vector<Wheel>{};
    }
    fs::path backup() const { return home.configFolder() / "demo-wheels-backup.json"; }

    SessionBus bus;
};

TEST_F(DemoEndToEnd, PlaysFromTheBusShowsStopOnTheDevelopmentPageAndStopsFromItsButton) {
    Program program(home.path, "demo");
    ASSERT_TRUE(program.waitForLine("Rondelix: ready.")) << program.log();
    const std::vector<Wheel> mine = wheelsOnDisk();
    std::string id;
    ASSERT_TRUE(waitFor([&] { return !(id = mainWindowId()).empty(); }, 5)) << program.log();
    xdotool("mousemove 800 500");
    xdotool("windowactivate --sync " + id + " 2>/dev/null || true");
    pause(0.5);
    // The Development page is listed last, below About.
    for (int i = 0; i < 8; ++i) {
        xdotool("key Down");
        pause(0.15);
    }
    pause(0.6);
    grabWindow(id).save(artifact("demo-development-idle.png"));

    bus.demo("play", "wheels");
    ASSERT_TRUE(waitFor([&] { return fs::exists(backup()); }, 5)) << program.log();
    pause(0.5); // the demo wheel is open at the screen centre
    grabScreen().save(artifact("demo-wheels-scene.png"));
    grabWindow(id).save(artifact("demo-development-running.png"));
    EXPECT_NE(wheelsOnDisk(), mine);

    // The page's one demo button now reads "Stop Demo".
    const QPoint button = windowOrigin(id) + QPoint(demoButtonX, demoButtonY);
    xdotool("mousemove " + std::to_string(button.x()) + " " + std::to_string(button.y()) + " click 1");
    EXPECT_TRUE(waitFor([&] { return !fs::exists(backup()); }, 3)) << program.log();
    EXPECT_EQ(wheelsOnDisk(), mine);
    pause(0.3);
    grabWindow(id).save(artifact("demo-development-stopped.png"));

    bus.demo("play", "dark");
    ASSERT_TRUE(waitFor([&] { return fs::exists(backup()); }, 5)) << program.log();
    EXPECT_EQ(program.stop(), 0) << "quitting during a run";
    EXPECT_EQ(wheelsOnDisk(), mine);
    EXPECT_FALSE(fs::exists(backup()));
}

// Kills the program at random moments of a demo, from just after the play
// signal to the middle of its scenes; the next start must find the user's
// wheels. RONDELIX_DEMO_KILLS sets how many runs (20 by default).
TEST_F(DemoEndToEnd, AProgramKilledAnywhereInADemoFindsTheUsersWheelsAtTheNextStart) {
    const char* wanted = std::getenv("RONDELIX_DEMO_KILLS");
    const int runs = wanted ? std::atoi(wanted) : 20;
    std::vector<Wheel> mine;
    {
        Program first(home.path, "demo-first");
        ASSERT_TRUE(first.waitForLine("Rondelix: ready.")) << first.log();
        mine = wheelsOnDisk();
        ASSERT_EQ(first.stop(), 0);
    }
    const unsigned seed = std::random_device{}();
    std::mt19937 random(seed);
    int killedDuringRun = 0;
    int intact = 0;
    for (int run = 0; run < runs; ++run) {
        // Every fourth kill falls into the set-up's first milliseconds.
        const int delayMs = std::uniform_int_distribution<int>(0, run % 4 == 0 ? 30 : 1500)(random);
        {
            Program program(home.path, "demo-killed");
            ASSERT_TRUE(program.waitForLine("Rondelix: ready.")) << program.log();
            bus.demo("play");
            pause(delayMs / 1000.0);
            if (fs::exists(backup())) ++killedDuringRun;
            ::kill(static_cast<pid_t>(program.process.processId()), SIGKILL);
            // Until it has gone, its socket still answers the next start.
            ASSERT_TRUE(program.exit(60000)) << "run " << run << ": the killed program did not end";
        }
        Program next(home.path, "demo-next");
        ASSERT_TRUE(next.waitForLine("Rondelix: ready.")) << next.log();
        const bool same = wheelsOnDisk() == mine;
        intact += same;
        EXPECT_TRUE(same) << "run " << run << " killed after " << delayMs << " ms (seed " << seed << ")\n"
                          << next.log();
        EXPECT_EQ(next.stop(), 0);
    }
    std::cout << "[ measured ] " << runs << " demo runs killed (" << killedDuringRun
              << " with the demo wheels live); the user's wheels intact after " << intact << "\n";
}

// The smallest wheel, with "Add your own" in its empty top slot, drawn by the
// program on the bare test server; then on a server of its own under picom,
// set up to blur only behind windows that ask for it, over sharp stripes: the
// stripes behind the ring and the hub are blurred, those behind a translucent
// window that does not ask stay sharp.
TEST_F(EndToEnd, TheSmallestWheelOpensBareAndUnderACompositorThatBlursOnlyBehindTheDisc) {
    Config config = *decodeConfigBytes(readFile(home.configFolder() / "config.json"));
    config.behavior.wheelSize = 240;
    for (Wheel& wheel : config.wheels)
        if (wheel.id == "default")
            std::erase_if(wheel.slices, [](const Slice& s) { return s.position == 0; });
    writeFile(home.configFolder() / "config.json", writeConfigFile(config));
    {
        Program program(home.path, "bare");
        ASSERT_TRUE(program.waitForLine("Rondelix: ready.")) << program.log();
        std::system("xdotool search --onlyvisible --name '^Rondelix$' windowmove %@ 1200 0 >/dev/null 2>&1");
        const QPoint pointer(700, 520);
        xdotool("mousemove 700 520");
        pause(0.3);
        const QImage before = grabScreen();
        xdotool("keydown Alt_L Super_L");
        QImage after;
        EXPECT_TRUE(waitFor(
            [&] {
                after = grabScreen();
                return changedArea(before, after, pointer).width() >= 236;
            },
            3))
            << program.log();
        pause(0.4);
        grabScreen().save(artifact("e2e-wheel-240-bare.png"));
        release();
    }

    if (std::system("command -v picom >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "picom is not installed; scripts/setup installs it";
    const PrivateDisplay display(home.path);
    ASSERT_FALSE(display.name.empty()) << "no private X server";
    QProcess backdrop;
    backdrop.setProcessEnvironment(display.environment());
    backdrop.start(RONDELIX_STRIPED_BACKDROP, {});
    ASSERT_TRUE(
        waitFor([&] { return backdrop.waitForReadyRead(50) && backdrop.readAll().contains("ready"); }, 10));
    const fs::path conf = home.path / "picom.conf";
    writeFile(conf, "backend = \"xrender\";\n"
                    "shadow = false;\n"
                    "fading = false;\n"
                    "blur-background = true;\n"
                    "blur-background-fixed = true;\n"
                    "blur-kern = \"7x7box\";\n"
                    "blur-background-exclude = [ \"!_KDE_NET_WM_BLUR_BEHIND_REGION@:32c\" ];\n");
    QProcess picom;
    picom.setProcessEnvironment(display.environment());
    picom.setProcessChannelMode(QProcess::MergedChannels);
    picom.start("picom", {"--config", QString::fromStdString(conf.string())});
    ASSERT_TRUE(waitFor([&] { return display.composited(); }, 10)) << picom.readAll().toStdString();

    Program program(home.path, "composited", {}, display.environment());
    ASSERT_TRUE(program.waitForLine("Rondelix: ready.")) << program.log();
    // The main window, open for want of a tray, goes off the screen.
    ASSERT_TRUE(waitFor(
        [&] {
            return std::system(("DISPLAY=" + display.name +
                                " xdotool search --onlyvisible --name '^Rondelix$' windowmove %@ 1200 0 "
                                ">/dev/null 2>&1")
                                   .c_str()) == 0;
        },
        5));
    display.xdotool("mousemove 512 384");
    pause(0.3);
    display.xdotool("keydown Alt_L Super_L");
    // Above the empty top slot's marker, inside the rim; the control window;
    // the panel's clear margin beside the disc; the hub below the wheel's name.
    const QPoint ring(512 - 16, 384 - 112), control(60, 140), margin(512 - 200, 384), hub(512, 384 + 30);
    // Blurring in software keeps the X server busy for a while. The light
    // ring has faded in once it is as bright as its opacity makes it over
    // any backdrop (while it fades in, the stripes' grey shows through) and
    // stays the same from one grab to the next.
    QImage screen;
    const bool shown = waitFor(
        [&] {
            const QImage earlier = display.grab();
            pause(0.25);
            screen = display.grab();
            return rowBrightness(screen, ring.x(), ring.y()).mean > 200 && screen == earlier;
        },
        15);
    screen.save(artifact("e2e-wheel-240-picom.png"));
    display.xdotool("keyup Super_L Alt_L");
    ASSERT_TRUE(shown) << program.log();

    // Unblurred, the ring at the user's opacity lets (1 - opacity) of the
    // stripes' swing through.
    const double unblurred = (1 - config.behavior.opacity) * 255;
    const int behindRing = rowBrightness(screen, ring.x(), ring.y()).swing;
    const int behindControl = rowBrightness(screen, control.x(), control.y()).swing;
    std::cout << "[ measured ] stripe swing behind the ring " << behindRing << " (unblurred " << unblurred
              << "), the control window " << behindControl << ", the panel's margin "
              << rowBrightness(screen, margin.x(), margin.y()).swing << "\n";
    EXPECT_LT(behindRing, 0.4 * unblurred);
    // The hub is of the ring's material, no hole onto the desktop.
    EXPECT_LT(rowBrightness(screen, hub.x(), hub.y()).swing, 0.4 * unblurred);
    EXPECT_GT(behindControl, 100);
    EXPECT_EQ(program.stop(), 0);
    for (QProcess* helper : {&picom, &backdrop}) {
        helper->kill();
        helper->waitForFinished(3000);
    }
}

} // namespace
} // namespace rondelix

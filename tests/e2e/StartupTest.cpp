// How the program starts, hands over and ends, and where it cannot run: each
// refusal is a sentence of its own and exit status 1, never the toolkit's abort.

#include "e2e/EndToEndRig.h"
#include "settings/Changelog.h"

#include <sys/resource.h>

namespace rondelix::e2e {
namespace {

TEST_F(EndToEnd, AStartWithoutAReachableXDisplaySaysWhyAndEndsWithStatusOne) {
    const struct {
        const char* name;
        QProcessEnvironment environment;
        std::string sentence;
    } cases[] = {
        {"wayland",
         [] {
             QProcessEnvironment e;
             e.insert("DISPLAY", "");
             e.insert("WAYLAND_DISPLAY", "wayland-0");
             return e;
         }(),
         "Rondelix: can't start — it needs an X11 session for global input, and under a pure Wayland "
         "session the summon keys cannot be heard (no X display is set)."},
        {"unreachable",
         [] {
             QProcessEnvironment e;
             e.insert("DISPLAY", ":917");
             return e;
         }(),
         "Rondelix: can't start — can't reach the X display :917."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Program program(home.path, c.name, {}, c.environment);
        EXPECT_EQ(program.exit(), 1) << program.log();
        EXPECT_TRUE(program.hasLine(c.sentence)) << program.log();
        EXPECT_FALSE(program.hasLine("Reinstalling")) << program.log();
    }
}

TEST_F(EndToEnd, ASecondStartHandsOverToTheRunningProgramAndExits) {
    Program first(home.path, "first");
    ASSERT_TRUE(first.waitForLine("Rondelix: ready."));
    Program second(home.path, "second");
    EXPECT_EQ(second.exit(), 0);
    EXPECT_TRUE(second.hasLine("Rondelix is already running; its window was brought forward."));
    EXPECT_EQ(first.stop(), 0);
}

// A second login of the same user (another runtime folder, so another
// single-instance place) finds the configuration held by a program that is
// simply running, not one saving at its quit: it says so at once, before the
// waiting notice a quitting holder earns after a second, and starts nothing.
TEST_F(EndToEnd, AStartInAnotherSessionSaysRondelixRunsThereAndStartsNothing) {
    Program first(home.path, "first");
    ASSERT_TRUE(first.waitForLine("Rondelix: ready.")) << first.log();
    Program second(home.path, "second", home.path / "other-session");
    const auto status = second.exit();
    const double took = std::chrono::duration<double>(Clock::now() - second.started).count();
    EXPECT_EQ(status, 1) << second.log();
    EXPECT_TRUE(second.hasLine("Rondelix is already running for this user in another session (process " +
                               std::to_string(first.pid()) + "); nothing was started."))
        << second.log();
    EXPECT_FALSE(second.hasLine("Waiting for the running Rondelix")) << second.log();
    std::printf("the start in another session ended after %.2f s\n", took);
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
        // The newest release of the history About shows.
        {{"--version"}, 0, "rondelix " + changelogEntries().front().version + "\n", ""},
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
    // Permissions do not bind the superuser. A folder where the user
    // defaults' temporary file must go refuses that write just the same, and
    // a cap on the size of what the program writes, as a full disk would, the
    // configuration's (whose temporary name is fresh each time); the log stays
    // under it. The program inherits the cap and the ignored signal.
    const bool superuser = ::geteuid() == 0;
    rlimit uncapped{};
    ::getrlimit(RLIMIT_FSIZE, &uncapped);
    if (superuser) {
        fs::create_directories(home.configFolder() / "defaults.json.tmp" / "blocked");
        const rlimit capped{8192, uncapped.rlim_max};
        std::signal(SIGXFSZ, SIG_IGN);
        ::setrlimit(RLIMIT_FSIZE, &capped);
    } else {
        fs::permissions(home.configFolder(), fs::perms::owner_read | fs::perms::owner_exec);
    }
    Program program(home.path, "unwritable");
    if (superuser) {
        ::setrlimit(RLIMIT_FSIZE, &uncapped);
        std::signal(SIGXFSZ, SIG_DFL);
    }
    ASSERT_GT(original.size(), 8192u);
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
        // Without a tray the main window opens once the program is ready;
        // the launch's breadcrumb, on the disk, is past the lines a start logs.
        ASSERT_TRUE(waitFor([] { return !mainWindowId().empty(); }, patience)) << program.log();
        ASSERT_TRUE(
            waitFor([&] { return storedDefaults(home).value("diag.launchInProgress", false); }, patience))
            << program.log();
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

} // namespace
} // namespace rondelix::e2e

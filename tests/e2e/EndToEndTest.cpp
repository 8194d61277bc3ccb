// The built program under a real X server, driven the way a user drives it:
// xdotool holds the summon keys and moves the pointer; the test looks at the
// screen and at what the fired slice left behind.

#include "model/ConfigCoding.h"
#include "model/DefaultConfig.h"

#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QScreen>
#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <spawn.h>
#include <sstream>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace rondelix {
namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

const fs::path artefacts = RONDELIX_ARTEFACTS;

std::string readFile(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

void writeFile(const fs::path& file, const std::string& text) {
    fs::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary | std::ios::trunc) << text;
}

// Polls until the check holds or the time is up; the program and the X server
// work on their own time, so waiting is the only way to see them.
template <typename Check>
bool waitFor(Check check, double seconds) {
    const auto deadline = Clock::now() + std::chrono::duration<double>(seconds);
    while (Clock::now() < deadline) {
        if (check()) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return check();
}

void pause(double seconds) { std::this_thread::sleep_for(std::chrono::duration<double>(seconds)); }

pid_t spawn(const std::vector<std::string>& command, const std::vector<std::string>& environment,
            const fs::path& output) {
    std::vector<char*> argv;
    for (const auto& part : command) argv.push_back(const_cast<char*>(part.c_str()));
    argv.push_back(nullptr);
    std::vector<char*> envp;
    for (const auto& entry : environment) envp.push_back(const_cast<char*>(entry.c_str()));
    envp.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, output.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0644);
    posix_spawn_file_actions_adddup2(&actions, STDOUT_FILENO, STDERR_FILENO);
    pid_t pid = -1;
    if (posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), envp.data()) != 0) pid = -1;
    posix_spawn_file_actions_destroy(&actions);
    return pid;
}

std::optional<int> waitExit(pid_t pid, double seconds) {
    int status = 0;
    const bool ended = waitFor([&] { return ::waitpid(pid, &status, WNOHANG) == pid; }, seconds);
    if (!ended) return std::nullopt;
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

void xdotool(std::vector<std::string> arguments) {
    arguments.insert(arguments.begin(), "xdotool");
    std::vector<std::string> environment;
    for (char** e = environ; *e; ++e) environment.emplace_back(*e);
    const pid_t pid = spawn(arguments, environment, "/dev/null");
    ASSERT_GT(pid, 0);
    ASSERT_EQ(waitExit(pid, 5), 0) << arguments[1];
}

QImage grabScreen() { return QGuiApplication::primaryScreen()->grabWindow(0).toImage(); }

QRect changedArea(const QImage& before, const QImage& after) {
    QRect area;
    for (int y = 0; y < after.height(); y += 2)
        for (int x = 0; x < after.width(); x += 2)
            if (before.pixel(x, y) != after.pixel(x, y)) area |= QRect(x, y, 2, 2);
    return area;
}

// One home folder with a configuration whose main wheel's top slot runs a
// script that leaves a marker file, and a finished onboarding.
struct TestHome {
    TestHome() {
        std::string pattern = (fs::temp_directory_path() / "rondelix-e2e-XXXXXX").string();
        if (!mkdtemp(pattern.data())) throw std::runtime_error("no temporary folder");
        path = pattern;
        marker = path / "fired";
        Config config = DefaultConfig::factoryConfig();
        for (Wheel& wheel : config.wheels) {
            if (wheel.id != "default") continue;
            std::erase_if(wheel.slices, [](const Slice& s) { return s.position == 0; });
            wheel.slices.push_back(Slice{Uuid::generate(), 0, "Mark", Icon{},
                                         MacroAction::Script{"touch '" + marker.string() + "'"}});
        }
        config.lastUsedWheelId = "default";
        writeFile(configFolder() / "config.json", encode(config).dump(2));
        writeFile(configFolder() / "defaults.json", R"({"hasCompletedOnboarding": true, "onboardingSkipped": true})");
    }
    ~TestHome() {
        std::error_code ec;
        fs::permissions(configFolder(), fs::perms::owner_all, ec);
        fs::remove_all(path, ec);
    }
    fs::path configFolder() const { return path / ".config" / "rondelix"; }

    fs::path path;
    fs::path marker;
};

// One run of the program; stopped with SIGTERM at the end unless it ended.
struct Program {
    explicit Program(const fs::path& home, const std::string& name = "program", const fs::path& logFolder = {}) {
        const fs::path folder = logFolder.empty() ? home : logFolder;
        output = folder / (name + ".log");
        const fs::path runtime = folder / "runtime";
        fs::create_directories(runtime);
        fs::permissions(runtime, fs::perms::owner_all);
        std::vector<std::string> environment{"HOME=" + home.string(), "DISPLAY=" + std::string(std::getenv("DISPLAY")),
                                             "PATH=" + std::string(std::getenv("PATH")),
                                             "XDG_RUNTIME_DIR=" + runtime.string()};
        started = Clock::now();
        pid = spawn({RONDELIX_PROGRAM}, environment, output);
    }
    ~Program() {
        if (pid > 0 && !ended) {
            ::kill(pid, SIGKILL);
            waitExit(pid, 5);
        }
    }
    std::string log() const { return readFile(output); }
    bool hasLine(const std::string& line) const { return log().find(line) != std::string::npos; }
    bool waitForLine(const std::string& line, double seconds = 10) const {
        return waitFor([&] { return hasLine(line); }, seconds);
    }
    std::optional<int> stop() {
        ::kill(pid, SIGTERM);
        return exit(5);
    }
    std::optional<int> exit(double seconds) {
        auto status = waitExit(pid, seconds);
        ended = status.has_value();
        return status;
    }
    long residentKiB() const {
        std::istringstream status(readFile("/proc/" + std::to_string(pid) + "/status"));
        for (std::string line; std::getline(status, line);)
            if (line.rfind("VmRSS:", 0) == 0) return std::stol(line.substr(6));
        return -1;
    }

    fs::path output;
    Clock::time_point started;
    pid_t pid = -1;
    bool ended = false;
};

class EndToEnd : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        if (!std::getenv("DISPLAY")) return;
        static int argc = 1;
        static char name[] = "rondelix_e2e_tests";
        static char* argv[] = {name, nullptr};
        qputenv("QT_QPA_PLATFORM", "xcb");
        application = new QGuiApplication(argc, argv);
    }
    void SetUp() override {
        if (!application) GTEST_SKIP() << "needs the X server the test script starts";
    }

    // Holds left Alt and left Super, the factory binding; answers the area the
    // wheel took on screen.
    QRect summonAt(QPoint pointer, const std::string& shot) {
        xdotool({"mousemove", std::to_string(pointer.x()), std::to_string(pointer.y())});
        pause(0.3);
        const QImage before = grabScreen();
        xdotool({"keydown", "Alt_L", "Super_L"});
        QImage after;
        QRect area;
        waitFor(
            [&] {
                after = grabScreen();
                area = changedArea(before, after);
                return area.width() >= 300 && area.height() >= 300;
            },
            3);
        after.save(QString::fromStdString((artefacts / shot).string()));
        return area;
    }
    void release() { xdotool({"keyup", "Super_L", "Alt_L"}); }
    // A relative move, as a mouse makes it; an absolute one only warps the
    // pointer, which moves nothing that listens to the mouse.
    void aimAtTopSlot() {
        xdotool({"mousemove_relative", "--", "0", "-110"});
        pause(0.2);
    }

    static inline QGuiApplication* application = nullptr;
    TestHome home;
};

TEST_F(EndToEnd, SummonAimReleaseFiresTheSliceAndEscFiresNothing) {
    Program program(home.path);
    ASSERT_TRUE(program.waitForLine("Rondelix: ready.")) << program.log();
    const auto readyMs =
        std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - program.started).count();
    pause(1.0); // the prewarmed panel has come and gone
    const long residentKiB = program.residentKiB();
    std::cout << "[ measured ] ready after " << readyMs << " ms; resident " << residentKiB / 1024.0 << " MiB\n";
    writeFile(artefacts / "e2e-measurements.txt",
              "ready_ms " + std::to_string(readyMs) + "\nresident_kib " + std::to_string(residentKiB) + "\n");

    const QPoint pointer(800, 520);
    const QRect wheel = summonAt(pointer, "e2e-wheel-open.png");
    ASSERT_GE(wheel.width(), 300) << program.log();
    EXPECT_NEAR(wheel.center().x(), pointer.x(), 24);
    EXPECT_NEAR(wheel.center().y(), pointer.y(), 24);

    aimAtTopSlot();
    grabScreen().save(QString::fromStdString((artefacts / "e2e-wheel-aimed.png").string()));
    release();
    EXPECT_TRUE(waitFor([&] { return fs::exists(home.marker); }, 5)) << program.log();

    fs::remove(home.marker);
    pause(0.5);
    const QRect again = summonAt(pointer, "e2e-wheel-before-esc.png");
    ASSERT_GE(again.width(), 300);
    aimAtTopSlot();
    xdotool({"key", "Escape"});
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
    EXPECT_EQ(second.exit(5), 0);
    EXPECT_TRUE(second.hasLine("Rondelix is already running; its window was brought forward."));
    EXPECT_EQ(first.stop(), 0);
}

TEST_F(EndToEnd, ACrashedLaunchIsCountedByTheNextOne) {
    {
        Program crashing(home.path, "crashing");
        ASSERT_TRUE(crashing.waitForLine("Rondelix: ready."));
        ::kill(crashing.pid, SIGKILL);
        crashing.exit(5);
    }
    Program next(home.path, "next");
    ASSERT_TRUE(next.waitForLine("Rondelix: ready."));
    EXPECT_TRUE(next.hasLine("Rondelix: launch health: PREVIOUS LAUNCH DID NOT COMPLETE — possible startup crash "
                             "(1 total — last on "))
        << next.log();
    EXPECT_EQ(next.stop(), 0);
}

TEST_F(EndToEnd, AMissingHomeFolderEndsWithASentence) {
    Program program(home.path / "nobody-lives-here", "missing-home", home.path);
    EXPECT_EQ(program.exit(5), 1);
    EXPECT_TRUE(program.hasLine("Rondelix: can't start — the home folder ")) << program.log();
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
    EXPECT_TRUE(program.hasLine("Rondelix: could not save user defaults")) << program.log();
    EXPECT_EQ(program.stop(), 0);
    EXPECT_EQ(readFile(home.configFolder() / "config.json"), original);
}

} // namespace
} // namespace rondelix

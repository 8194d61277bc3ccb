// What the end-to-end tests share: the program run in a home folder of its
// own, the X server's windows and screen as xdotool and xcb see them, and the
// window manager, tray, buses and private displays a test starts around it.

#pragma once

#include "app/ui/MainWindow.h"
#include "app/ui/SidePages.h"
#include "app/ui/SideWindow.h"
#include "editor/ui/PreviewWheel.h"
#include "editor/ui/WheelPillColumn.h"
#include "model/ConfigCoding.h"
#include "model/DefaultConfig.h"
#include "overlay/ui/SliceIconSources.h"
#include "support/CoordinatorRig.h"
#include "support/DisplayReady.h"
#include "support/IsolatedBusConfig.h"
#include "support/Patience.h"

#include <QApplication>
#include <QClipboard>
#include <QCursor>
#include <QFrame>
#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QProcess>
#include <QPushButton>
#include <QScreen>
#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <map>
#include <nlohmann/json.hpp>
#include <optional>
#include <set>
#include <sstream>
#include <thread>
#include <unistd.h>
#include <vector>
#include <xcb/xcb.h>

namespace rondelix::e2e {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

inline std::string readFile(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

inline void writeFile(const fs::path& file, const std::string& text) {
    fs::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary | std::ios::trunc) << text;
}

using testing::patience;

// Polls until the check holds or the time is up; the program and the X server
// work on their own time, so waiting is the only way to see them.
template <typename Check> bool waitFor(Check check, double seconds) {
    const auto deadline = Clock::now() + std::chrono::duration<double>(seconds);
    while (Clock::now() < deadline) {
        if (check()) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return check();
}

// Waits as waitFor does, running this process's events meanwhile: a bus
// service the test stands in for answers only through them.
template <typename Check> bool waitServing(Check check, double seconds) {
    const auto deadline = Clock::now() + std::chrono::duration<double>(seconds);
    while (Clock::now() < deadline) {
        if (check()) return true;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    return check();
}

// What `look` answers once it has answered the same, with `ready` holding of
// it, for `held`; `held` tells whether that came within `patience` seconds,
// and `value` is the last answer either way.
template <typename Value> struct Steady {
    Value value;
    bool held = false;
};
template <typename Look, typename Ready>
auto steady(Look look, std::chrono::milliseconds held, Ready ready) -> Steady<decltype(look())> {
    Steady<decltype(look())> last{look()};
    auto since = Clock::now();
    last.held = waitFor(
        [&] {
            auto next = look();
            if (next != last.value || !ready(next)) since = Clock::now();
            last.value = std::move(next);
            return Clock::now() - since >= held;
        },
        patience);
    return last;
}
template <typename Look>
auto steady(Look look, std::chrono::milliseconds held = std::chrono::milliseconds(250)) {
    return steady(look, held, [](const auto&) { return true; });
}

inline void xdotool(const std::string& arguments) {
    ASSERT_EQ(std::system(("xdotool " + arguments).c_str()), 0) << arguments;
}

// Moves the pointer as a warp and waits until the X server has it there.
inline void movePointer(QPoint to) {
    xdotool("mousemove " + std::to_string(to.x()) + " " + std::to_string(to.y()));
    EXPECT_TRUE(waitFor([&] { return QCursor::pos() == to; }, patience))
        << "the pointer did not reach " << to.x() << "," << to.y();
}

// Clicks there once the pointer is; what the click does, the caller waits for.
inline void clickAt(QPoint point) {
    movePointer(point);
    xdotool("click 1");
}

// Moves the main window, open for want of a tray, off the middle of the
// screen where the wheel opens; false when it did not show within `patience`
// seconds. `display` names another server than this process's own.
inline bool moveMainWindowAside(const std::string& display = {}, double within = patience) {
    std::string command = display.empty() ? "" : "DISPLAY=" + display + " ";
    command.append("xdotool search --onlyvisible --name '^Rondelix$' windowmove %@ 1200 0 >/dev/null 2>&1");
    return waitFor([&] { return std::system(command.c_str()) == 0; }, within);
}

// Where screen grabs are kept for people to look at: the artifacts folder
// beside the test programs.
inline QString artifact(const std::string& name) {
    const fs::path folder = QCoreApplication::applicationDirPath().toStdString() + "/artifacts";
    fs::create_directories(folder);
    return QString::fromStdString((folder / name).string());
}

inline QImage grabScreen() {
    return QGuiApplication::primaryScreen()->grabWindow(0).toImage();
}

// The screen once it has shown the same in every grab for a quarter of a
// second, within `watched` when given (elsewhere the main window's status
// pill may be fading out): the program's animations change it frame by
// frame, so that long without a change means none is under way. For
// pictures kept for people and for what a later grab is compared with; what
// a test checks it waits for itself, since a program starved of time can
// also leave the screen unchanged that long.
inline QImage stillScreen(QRect watched = {}) {
    QImage whole;
    steady([&] {
        whole = grabScreen();
        return watched.isNull() ? whole : whole.copy(watched);
    });
    return whole;
}

// The area of the screen grabs show changing from `before` on, once they do.
inline bool screenChanges(const QImage& before, QRect area) {
    return waitFor([&] { return grabScreen().copy(area) != before.copy(area); }, patience);
}

// Where a wheel opening at `centre` shows, with room about it: what a test
// watches of a summon, since the main window, open because the test server
// has no tray, may be changing elsewhere (its status pill fades out).
inline QRect wheelRoom(QPoint centre) {
    return QRect(centre - QPoint(360, 360), QSize(720, 720));
}

// What changed in the wheel's room around `around`.
inline QRect changedArea(const QImage& before, const QImage& after, QPoint around) {
    const QRect box = wheelRoom(around).intersected(after.rect());
    QRect area;
    for (int y = box.top(); y <= box.bottom(); y += 2)
        for (int x = box.left(); x <= box.right(); x += 2)
            if (before.pixel(x, y) != after.pixel(x, y)) area |= QRect(x, y, 2, 2);
    return area;
}

// Where a wheel shows its slot `aim` away from its centre aimed at; the top
// slot's by default.
inline QRect slotAt(QPoint centre, QPoint aim = {0, -110}) {
    return QRect(centre + aim - QPoint(40, 40), QSize(80, 80));
}

// Aims at the slot one way or another and waits until the wheel shows it
// aimed at, so that a release fires it.
inline void aimAt(QRect slot, const std::function<void()>& aim) {
    const QImage before = grabScreen();
    aim();
    EXPECT_TRUE(screenChanges(before, slot)) << "the slot shows no aim";
}

// One home folder with a configuration whose main wheel's top slot runs a
// script that adds a line to a marker file each time it runs, and a finished
// onboarding.
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
                                         MacroAction::Script{"echo fired >> '" + marker.string() + "'"}});
        }
        config.lastUsedWheelId = "default";
        writeFile(configFolder() / "config.json", writeConfigFile(config));
        writeFile(configFolder() / "defaults.json",
                  R"({"hasCompletedOnboarding": true, "onboardingSkipped": true})");
    }
    ~TestHome() {
        std::error_code ec;
        fs::permissions(configFolder(), fs::perms::owner_all, ec);
        fs::remove_all(path, ec);
    }
    fs::path configFolder() const { return path / ".config" / "rondelix"; }
    // How many times the top slot's script has run since the marker was last
    // removed.
    long fired() const {
        const std::string lines = readFile(marker);
        return std::count(lines.begin(), lines.end(), '\n');
    }
    // Gives the main wheel's top slot another action; answers the
    // configuration written.
    Config setTopSlotAction(const MacroAction& action) const {
        Config config = *decodeConfigBytes(readFile(configFolder() / "config.json"));
        for (Wheel& wheel : config.wheels)
            for (Slice& slice : wheel.slices)
                if (wheel.id == "default" && slice.position == 0) slice.action = action;
        writeFile(configFolder() / "config.json", writeConfigFile(config));
        return config;
    }
    // The main wheel's top slice as the configuration file holds it now.
    std::optional<Slice> topSlice() const {
        const auto onDisk = decodeConfigBytes(readFile(configFolder() / "config.json"));
        for (const Wheel& wheel : onDisk ? onDisk->wheels : std::vector<Wheel>{})
            for (const Slice& slice : wheel.slices)
                if (wheel.id == "default" && slice.position == 0) return slice;
        return std::nullopt;
    }

    fs::path path;
    fs::path marker;
};

// A dbus-daemon of the test's own that starts no service on demand; gone
// with it.
struct PrivateBus {
    PrivateBus() {
        daemon.start("dbus-daemon", {QString::fromStdString(testing::isolatedBusConfigArgument()), "--nofork",
                                     "--print-address=1"});
        if (daemon.waitForReadyRead(static_cast<int>(patience * 1000)))
            address = daemon.readLine().trimmed().toStdString();
    }
    ~PrivateBus() {
        daemon.kill();
        daemon.waitForFinished(3000);
    }
    PrivateBus(const PrivateBus&) = delete;
    PrivateBus& operator=(const PrivateBus&) = delete;

    QProcess daemon;
    std::string address;
};

// A session bus of the test's own, which the programs it starts use.
struct SessionBus : PrivateBus {
    SessionBus() {
        qputenv("DBUS_SESSION_BUS_ADDRESS", QByteArray::fromStdString(address));
        open = this;
    }
    ~SessionBus() {
        open = nullptr;
        qunsetenv("DBUS_SESSION_BUS_ADDRESS");
    }
    // Sends com.tovarel.Rondelix.demo.<verb>, as a script recording a video would.
    void demo(const std::string& verb, const std::string& scene = "") {
        const std::string text = scene.empty() ? "" : " string:" + scene;
        const std::string command = "dbus-send --bus='" + address +
                                    "' --type=signal /com/tovarel/Rondelix com.tovarel.Rondelix.demo." +
                                    verb + text;
        EXPECT_EQ(std::system(command.c_str()), 0) << command << " failed (scripts/setup installs dbus-bin)";
    }

    // The one the test has now, if any.
    static inline const SessionBus* open = nullptr;
};

// A launcher for Program that runs it as the superuser the tests run as,
// but without its power over file permissions: bound by them as an ordinary
// user is. Needs setpriv (util-linux).
inline const QStringList boundByPermissions = {"setpriv",
                                               "--bounding-set=-dac_override,-dac_read_search,-fowner", "--"};

// One run of the program, its output in a log file; killed at the end if it
// is still running.
struct Program {
    // `onTerminal` runs it on a terminal of its own, as from a shell;
    // `standardInput` names what it reads as its standard input; `launcher`
    // is a command that runs it, in a world of its own, as the command
    // after it (see WebsiteNetwork.h).
    explicit Program(const fs::path& home, const std::string& name = "program", fs::path logFolder = {},
                     const QProcessEnvironment& extra = {}, const QStringList& arguments = {},
                     bool onTerminal = false, const fs::path& standardInput = {},
                     const QStringList& launcher = {}) {
        if (logFolder.empty()) logFolder = home;
        output = logFolder / (name + ".log");
        fs::create_directories(logFolder / "runtime");
        fs::permissions(logFolder / "runtime", fs::perms::owner_all);
        QProcessEnvironment environment;
        environment.insert("HOME", QString::fromStdString(home.string()));
        environment.insert("DISPLAY", qEnvironmentVariable("DISPLAY"));
        environment.insert("PATH", qEnvironmentVariable("PATH"));
        // The test's session bus when it has one, else one of this run's
        // own: never the bus of the desktop the tests run on, nor one that a
        // desktop launches per display on demand, which would hold the X
        // server and keep it from starting afresh for the next test.
        if (SessionBus::open) {
            environment.insert("DBUS_SESSION_BUS_ADDRESS", QString::fromStdString(SessionBus::open->address));
        } else if (!extra.contains("DBUS_SESSION_BUS_ADDRESS")) {
            bus.emplace();
            environment.insert("DBUS_SESSION_BUS_ADDRESS", QString::fromStdString(bus->address));
        }
        // A sanitized build's program reports as its tests do.
        for (const char* sanitizer : {"ASAN_OPTIONS", "LSAN_OPTIONS", "UBSAN_OPTIONS"})
            if (qEnvironmentVariableIsSet(sanitizer))
                environment.insert(sanitizer, qEnvironmentVariable(sanitizer));
        environment.insert("XDG_RUNTIME_DIR", QString::fromStdString((logFolder / "runtime").string()));
        // The single-instance socket lives in the temporary folder; one per
        // run keeps test runs that share the machine apart.
        environment.insert("TMPDIR", QString::fromStdString((logFolder / "runtime").string()));
        environment.insert(extra);
        process.setProcessEnvironment(environment);
        process.setProcessChannelMode(QProcess::MergedChannels);
        process.setStandardOutputFile(QString::fromStdString(output.string()));
        if (!standardInput.empty())
            process.setStandardInputFile(QString::fromStdString(standardInput.string()));
        started = Clock::now();
        if (onTerminal)
            process.start("script", {"-qefc", (QStringList{"exec", RONDELIX_PROGRAM} + arguments).join(' '),
                                     "/dev/null"});
        else if (!launcher.isEmpty())
            process.start(launcher.front(), launcher.mid(1) + QStringList{RONDELIX_PROGRAM} + arguments);
        else
            process.start(RONDELIX_PROGRAM, arguments);
    }
    // A failed test shows what the program said, whatever it failed on.
    ~Program() {
        process.kill();
        process.waitForFinished(5000);
        if (::testing::Test::HasFailure())
            std::printf("--- the log of %s ---\n%s--- end of the log of %s ---\n", output.filename().c_str(),
                        log().c_str(), output.filename().c_str());
    }
    // The program itself, also when a terminal runs it.
    pid_t pid() const {
        const pid_t started = static_cast<pid_t>(process.processId());
        std::istringstream children(
            readFile("/proc/" + std::to_string(started) + "/task/" + std::to_string(started) + "/children"));
        pid_t child = 0;
        return children >> child ? child : started;
    }
    std::string log() const { return readFile(output); }
    bool hasLine(const std::string& line) const { return log().find(line) != std::string::npos; }
    bool waitForLine(const std::string& line) const {
        return waitFor([&] { return hasLine(line); }, patience);
    }
    // The exit status, or -1 for a crash; none while it still runs.
    // A killed program can take seconds to go on a machine busy writing to
    // disk: it cannot end while a write of its own is still being flushed.
    std::optional<int> exit(int waitMs = static_cast<int>(patience * 1000)) {
        if (!process.waitForFinished(waitMs)) return std::nullopt;
        return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    }
    std::optional<int> stop() {
        process.terminate();
        return exit();
    }
    long residentKiB() const {
        std::istringstream status(readFile("/proc/" + std::to_string(process.processId()) + "/status"));
        for (std::string line; std::getline(status, line);)
            if (line.rfind("VmRSS:", 0) == 0) return std::stol(line.substr(6));
        return -1;
    }

    fs::path output;
    Clock::time_point started;
    // Declared before the process, so that it outlives it.
    std::optional<PrivateBus> bus;
    QProcess process;
};

class EndToEnd : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        if (!std::getenv("DISPLAY")) return;
        static int argc = 1;
        static char name[] = "rondelix_e2e_tests";
        static char* argv[] = {name, nullptr};
        qputenv("QT_QPA_PLATFORM", "xcb");
        const testing::DisplayReady display;
        if (!display) return;
        application = new QApplication(argc, argv);
    }
    void SetUp() override {
        if (!application) GTEST_SKIP() << "needs the X server the test script starts";
    }

    // Holds left Alt and left Super, the factory binding; answers the area the
    // wheel took on screen, once it has sprung open and come to rest.
    // The wheel is looked for around `around` and at the pointer, where it
    // opens when it cannot open there.
    QRect summonAt(QPoint pointer, const std::string& shot, std::optional<QPoint> around = {}) {
        // The main window's preview mirrors a summoned wheel; it goes out of
        // the way so that only the overlay changes around the pointer.
        // A test may have closed it or moved it already.
        moveMainWindowAside({}, 0);
        movePointer(pointer);
        QPoint centre = around.value_or(pointer);
        beforeSummon = stillScreen(wheelRoom(centre) | wheelRoom(pointer));
        xdotool("keydown Alt_L Super_L");
        const auto pressed = Clock::now();
        QImage after;
        QRect area;
        const auto opened = [&] {
            for (const QPoint place : {centre, pointer}) {
                area = changedArea(beforeSummon, after, place);
                if (area.width() < 300 || area.height() < 300) continue;
                centre = place;
                return true;
            }
            return false;
        };
        const bool shown = waitFor(
            [&] {
                after = grabScreen();
                return opened();
            },
            patience);
        shownAfter = std::chrono::duration<double>(Clock::now() - pressed).count();
        if (shown) {
            after = stillScreen(wheelRoom(centre));
            area = changedArea(beforeSummon, after, centre);
        }
        after.save(artifact(shot));
        return area;
    }
    void release() { xdotool("keyup Super_L Alt_L"); }
    // Waits until the last wheel summoned has left the screen around `centre`.
    bool wheelGone(QPoint centre = {800, 520}) const {
        return waitFor([&] { return changedArea(beforeSummon, grabScreen(), centre).width() < 300; },
                       patience);
    }
    // Summons the factory binding's wheel and brings up the wheel at `index`
    // (from 0) with its number key, a screenshot of each.
    void summonWheelByNumber(int index, const Program& program, const std::string& summonedShot,
                             const std::string& switchedShot) {
        const QRect wheel = summonAt({800, 520}, summonedShot);
        EXPECT_GE(wheel.width(), 300) << program.log();
        if (wheel.width() >= 300) {
            const QImage first = grabScreen();
            xdotool("key " + std::to_string(index + 1));
            EXPECT_TRUE(screenChanges(first, wheel));
            stillScreen(wheel).save(artifact(switchedShot));
        }
        release();
    }
    // A relative move, as a mouse makes it; an absolute one only warps the
    // pointer, which moves nothing that listens to the mouse. Waits until the
    // wheel shows the slot aimed at, so that a release fires it.
    void aimAtTopSlot() {
        aimAt(slotAt(QCursor::pos()), [] { xdotool("mousemove_relative -- 0 -110"); });
    }
    // Summons the wheel at the pointer, aims at its top slot and lets go, so
    // that the slot fires; answers whether the wheel showed.
    bool fireTopSlot(const Program& program, const std::string& shot, QPoint pointer = {800, 520}) {
        const bool shown = summonAt(pointer, shot).width() >= 300;
        EXPECT_TRUE(shown) << program.log();
        aimAtTopSlot();
        release();
        return shown;
    }

    static inline QGuiApplication* application = nullptr;
    TestHome home;
    // Seconds from the summon keys going down to the wheel seen on screen.
    double shownAfter = 0;
    // The screen before the last summon.
    QImage beforeSummon;
};

// The main window, as a desktop without a tray shows it at start --------------

inline std::string output(const std::string& command) {
    std::string text;
    FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe) {
        ADD_FAILURE() << "could not run " << command << ": " << std::strerror(errno);
        return text;
    }
    char buffer[256];
    while (std::fgets(buffer, sizeof buffer, pipe))
        text += buffer;
    ::pclose(pipe);
    return text;
}

// The program's main window as X sees it: its id while it is mapped.
inline std::string mainWindowId() {
    const std::string ids = output("xdotool search --onlyvisible --name '^Rondelix$' 2>/dev/null");
    return ids.substr(0, ids.find('\n'));
}

inline QImage grabWindow(const std::string& id) {
    return QGuiApplication::primaryScreen()->grabWindow(id.empty() ? 0 : std::stoul(id)).toImage();
}

// Where the window's content starts on the screen, whatever frame a window
// manager put around it.
inline QPoint windowOrigin(const std::string& id) {
    const std::string info = output("xwininfo -id " + id);
    const auto number = [&](const std::string& label) {
        const auto at = info.find(label);
        return at == std::string::npos ? 0 : std::stoi(info.substr(at + label.size()));
    };
    return {number("Absolute upper-left X:"), number("Absolute upper-left Y:")};
}

// The window's frame on screen: x, y, width and height. `display` names
// another server than this process's own.
inline QRect windowFrame(const std::string& id, const std::string& display = {}) {
    const std::string shape = output((display.empty() ? "" : "DISPLAY=" + display + " ") +
                                     "xdotool getwindowgeometry --shell " + id + " 2>/dev/null");
    const auto number = [&](const std::string& key) {
        const auto at = shape.find(key + "=");
        return at == std::string::npos ? -1 : std::stoi(shape.substr(at + key.size() + 1));
    };
    return {number("X"), number("Y"), number("WIDTH"), number("HEIGHT")};
}

inline QSize windowSize(const std::string& id) {
    return windowFrame(id).size();
}

// The main window once the program is ready and has shown it; empty when it
// did not.
inline std::string readyMainWindow(const Program& program) {
    std::string id;
    if (program.waitForLine("Rondelix: ready."))
        waitFor([&] { return !(id = mainWindowId()).empty(); }, patience);
    return id;
}

// Where the wheel-name field of the inspector lies in the main window with
// this id: the inspector is the last 450 points of the page, its wheel card
// the first light panel down its middle, and the field 68 below the card's
// top. Nothing when no card shows.
inline std::optional<QPoint> wheelNameField(const std::string& id) {
    const QRect frame = windowFrame(id);
    const QImage screen = grabScreen();
    const int inspectorMiddle = frame.right() - 225;
    for (int y = frame.top(); y < frame.bottom(); ++y)
        if (screen.pixelColor(inspectorMiddle, y).lightness() >= 250) return QPoint(inspectorMiddle, y + 68);
    return std::nullopt;
}

// The wheel-name field once the card shows and the window stands still;
// nothing when no card came.
inline std::optional<QPoint> restingWheelNameField(const std::string& id) {
    if (!waitFor([&] { return wheelNameField(id).has_value(); }, patience)) return std::nullopt;
    stillScreen(windowFrame(id));
    return wheelNameField(id);
}

inline std::string pointText(QPoint point) {
    return std::to_string(point.x()) + " " + std::to_string(point.y());
}

// Waits for the main window the program opens on My Wheels, where the main
// wheel's top slice shows in the form, and clicks the wheel's name field,
// where the Tab order through the form starts.
inline void openTopSliceInTheEditor(const Program& program) {
    const std::string id = readyMainWindow(program);
    ASSERT_FALSE(id.empty()) << program.log();
    const auto nameField = restingWheelNameField(id);
    ASSERT_TRUE(nameField) << "no wheel card";
    clickAt(*nameField);
}

// A window manager for the length of one test, when the machine has one.
inline xcb_atom_t internAtom(xcb_connection_t* connection, const char* name) {
    auto* reply = xcb_intern_atom_reply(
        connection, xcb_intern_atom(connection, 0, static_cast<std::uint16_t>(std::strlen(name)), name),
        nullptr);
    const xcb_atom_t found = reply ? reply->atom : static_cast<xcb_atom_t>(XCB_ATOM_NONE);
    std::free(reply);
    return found;
}

// Who holds a selection such as a tray's or a compositor's; none when free.
inline xcb_window_t selectionOwner(xcb_connection_t* connection, const char* selection) {
    auto* reply = xcb_get_selection_owner_reply(
        connection, xcb_get_selection_owner(connection, internAtom(connection, selection)), nullptr);
    const xcb_window_t owner = reply ? reply->owner : static_cast<xcb_window_t>(XCB_WINDOW_NONE);
    std::free(reply);
    return owner;
}

// On the test script's display, or on the one named; `configuration` is an
// rc.xml of the test's own in place of the stock one.
struct WindowManager {
    explicit WindowManager(const std::string& display = {}, const fs::path& configuration = {}) {
        if (std::system("command -v openbox >/dev/null") != 0) return;
        if (!display.empty()) {
            QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
            environment.insert("DISPLAY", QString::fromStdString(display));
            process.setProcessEnvironment(environment);
        }
        QStringList arguments{"--sm-disable"};
        if (!configuration.empty())
            arguments << "--config-file" << QString::fromStdString(configuration.string());
        process.start("openbox", arguments);
        xcb_connection_t* connection = xcb_connect(display.empty() ? nullptr : display.c_str(), nullptr);
        running = process.waitForStarted(static_cast<int>(patience * 1000)) &&
                  !xcb_connection_has_error(connection) &&
                  waitFor([&] { return ready(connection); }, patience);
        xcb_disconnect(connection);
    }
    // Whether this one manages the screen and has said what it supports:
    // it holds the WM_S0 selection, names its own window as the one checked,
    // and lists _NET_ACTIVE_WINDOW, which activating a window needs. A
    // window manager that ended may have left its check window named on a
    // server that no reset has cleared since.
    bool ready(xcb_connection_t* connection) const {
        if (process.state() != QProcess::Running) return false;
        const xcb_window_t owner = selectionOwner(connection, "WM_S0");
        if (owner == XCB_WINDOW_NONE) return false;
        const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
        const auto property = [&](const char* name, xcb_atom_t type) {
            std::vector<std::uint32_t> values;
            auto* reply = xcb_get_property_reply(
                connection,
                xcb_get_property(connection, 0, root, internAtom(connection, name), type, 0, 1024), nullptr);
            if (reply && reply->format == 32) {
                const auto* data = static_cast<const std::uint32_t*>(xcb_get_property_value(reply));
                values.assign(data, data + xcb_get_property_value_length(reply) / 4);
            }
            std::free(reply);
            return values;
        };
        const auto checked = property("_NET_SUPPORTING_WM_CHECK", XCB_ATOM_WINDOW);
        const auto supported = property("_NET_SUPPORTED", XCB_ATOM_ATOM);
        return checked.size() == 1 && checked.front() == owner &&
               std::ranges::find(supported, internAtom(connection, "_NET_ACTIVE_WINDOW")) != supported.end();
    }
    ~WindowManager() {
        process.terminate();
        if (!process.waitForFinished(3000)) process.kill();
        process.waitForFinished(3000);
    }
    QProcess process;
    bool running = false;
};

// A system tray for the length of one test: a panel of the given colour along
// the top right of the screen, when the machine has a tray host. A panel that
// publishes its text colour does it the way desktop panels do, on the tray's
// manager window.
struct TrayPanel {
    static constexpr int width = 120, height = 32;

    TrayPanel(const QString& tint, std::optional<QColor> textColour) {
        if (std::system("command -v trayer >/dev/null") != 0) return;
        process.start("trayer", {"--edge",
                                 "top",
                                 "--align",
                                 "right",
                                 "--widthtype",
                                 "pixel",
                                 "--width",
                                 QString::number(width),
                                 "--height",
                                 QString::number(height),
                                 "--tint",
                                 tint,
                                 "--transparent",
                                 "true",
                                 "--alpha",
                                 "0",
                                 "--SetDockType",
                                 "false",
                                 "--SetPartialStrut",
                                 "false"});
        running = process.waitForStarted(static_cast<int>(patience * 1000)) &&
                  waitFor([] { return manager() != XCB_WINDOW_NONE; }, patience);
        if (running && textColour) publish(*textColour);
    }
    ~TrayPanel() {
        process.terminate();
        if (!process.waitForFinished(3000)) process.kill();
        process.waitForFinished(3000);
    }
    static QRect area() {
        const QRect screen = QGuiApplication::primaryScreen()->geometry();
        return {screen.right() + 1 - width, 0, width, height};
    }

    static xcb_connection_t* connection() {
        return qGuiApp->nativeInterface<QNativeInterface::QX11Application>()->connection();
    }
    static xcb_atom_t atom(const char* name) { return internAtom(connection(), name); }
    static xcb_window_t manager() { return selectionOwner(connection(), "_NET_SYSTEM_TRAY_S0"); }
    static void publish(const QColor& text) {
        std::uint32_t colours[12] = {};
        for (int i = 0; i < 12; i += 3) {
            colours[i] = static_cast<std::uint32_t>(text.red() * 257);
            colours[i + 1] = static_cast<std::uint32_t>(text.green() * 257);
            colours[i + 2] = static_cast<std::uint32_t>(text.blue() * 257);
        }
        xcb_change_property(connection(), XCB_PROP_MODE_REPLACE, manager(), atom("_NET_SYSTEM_TRAY_COLORS"),
                            XCB_ATOM_CARDINAL, 32, 12, colours);
        xcb_flush(connection());
    }

    QProcess process;
    bool running = false;
};

// x, y, width and height of a window's client area.
inline QRect windowGeometry(const std::string& id) {
    return windowFrame(id);
}

// The largest visible window with exactly this title, or nothing; toolkits
// keep small helper windows under the program's name too.
inline std::string largestWindowNamed(const std::string& title) {
    std::istringstream ids(output("xdotool search --onlyvisible --name '^" + title + "$' 2>/dev/null"));
    std::string best;
    int bestArea = 100 * 100;
    for (std::string id; std::getline(ids, id);) {
        const QRect frame = windowGeometry(id);
        if (frame.width() * frame.height() > bestArea) {
            best = id;
            bestArea = frame.width() * frame.height();
        }
    }
    return best;
}

// The first window the process `pid` shows, once it shows one; empty when
// it shows none within `patience` seconds.
inline std::string shownWindowOf(qint64 pid) {
    std::string shown;
    waitFor(
        [&] {
            shown = output("xdotool search --onlyvisible --pid " + std::to_string(pid) + " 2>/dev/null");
            return !shown.empty();
        },
        patience);
    return shown.substr(0, shown.find('\n'));
}

// The ids of the program's windows on the screen: dialogs, menus and popups
// as well as its main window.
inline std::set<std::string> windowsOf(const Program& program) {
    std::istringstream ids(output("xdotool search --onlyvisible --pid " +
                                  std::to_string(program.process.processId()) + " 2>/dev/null"));
    std::set<std::string> found;
    for (std::string id; std::getline(ids, id);)
        if (!id.empty()) found.insert(id);
    return found;
}

// The first window the process shows on the screen, once it shows; empty
// when none shows in time.
inline std::string shownWindowOf(const QProcess& process) {
    std::string window;
    waitFor(
        [&] {
            window = output("xdotool search --onlyvisible --pid " + std::to_string(process.processId()) +
                            " 2>/dev/null");
            return !window.empty();
        },
        patience);
    return window.substr(0, window.find('\n'));
}

// Whether the keyboard focus is on a window of the program, as X has it;
// a window manager hands it over on its own time.
inline bool keysGoTo(const Program& program) {
    const std::string focused = output("xdotool getwindowfocus 2>/dev/null");
    return windowsOf(program).contains(focused.substr(0, focused.find('\n')));
}

// A window of the program that is not among `known`, once it shows and is
// drawn, so that keys typed next reach it; empty when none came.
inline std::string newWindowOf(const Program& program, const std::set<std::string>& known) {
    std::string id;
    waitFor(
        [&] {
            for (const std::string& shown : windowsOf(program))
                if (!known.contains(shown)) id = shown;
            return !id.empty();
        },
        patience);
    if (!id.empty()) stillScreen(windowFrame(id));
    return id;
}

inline std::string windowNamed(const std::string& title) {
    std::string id;
    waitFor([&] { return !(id = largestWindowNamed(title)).empty(); }, patience);
    return id;
}

// Takes the main window `rows` down its sidebar, from My Wheels to a
// settings page, and waits until it stands still at the settings pages'
// size; false when it never took that size.
inline bool downTheSidebar(const std::string& id, int rows) {
    xdotool("windowactivate --sync " + id + " 2>/dev/null || true");
    std::string keys = "key";
    for (int row = 0; row < rows; ++row)
        keys += " Down";
    xdotool(keys);
    if (!waitFor([&] { return windowSize(id) == QSize(880, 800); }, patience)) return false;
    stillScreen(windowGeometry(id));
    return true;
}

// What `measure` finds on a twin of a main window of this size showing that
// page of this configuration, laid out off screen with the same fonts and style.
template <typename Measure>
auto measuredOnTwin(const Config& config, MainTab page, QSize windowSize, Measure measure) {
    testsupport::CoordinatorRig rig;
    rig.writeConfig(config);
    rig.open();
    rig.c().setMainTab(page);
    SliceIconSources icons;
    MainWindow twin({rig.c(), icons}, {});
    twin.setAttribute(Qt::WA_DontShowOnScreen);
    twin.show();
    QApplication::processEvents();
    twin.resize(windowSize);
    QApplication::processEvents();
    return measure(twin);
}

// Where the first visible button of that name lies in a main window of this
// size showing that page of this configuration.
inline QPoint buttonIn(const Config& config, MainTab page, const char* name, QSize windowSize) {
    return measuredOnTwin(config, page, windowSize, [name](MainWindow& twin) {
        for (QPushButton* button : twin.findChildren<QPushButton*>(name))
            if (button->isVisible()) return button->mapTo(&twin, button->rect().center());
        ADD_FAILURE() << "the twin shows no " << name << " button";
        return QPoint();
    });
}

// Where the pill of a wheel lies in a main window of this size showing My Wheels.
inline QPoint pillIn(const Config& config, const std::string& id, QSize windowSize) {
    return measuredOnTwin(config, MainTab::wheels, windowSize, [&id](MainWindow& twin) {
        auto* pills = twin.findChild<WheelPillColumn*>();
        const auto frame = pills ? pills->frame(id) : std::nullopt;
        if (!frame) {
            ADD_FAILURE() << "the twin shows no pill for " << id;
            return QPoint();
        }
        return pills->mapTo(&twin, QPoint(static_cast<int>(frame->midX()), static_cast<int>(frame->midY())));
    });
}

// Where the first part of this type (and name, when given) lies in a main
// window of this size showing My Wheels.
template <typename Part> QRect partIn(const Config& config, QSize windowSize, const char* name = nullptr) {
    return measuredOnTwin(config, MainTab::wheels, windowSize, [name](MainWindow& twin) {
        const QWidget* part = name ? twin.findChild<Part*>(name) : twin.findChild<Part*>();
        if (!part) ADD_FAILURE() << "the twin shows no " << (name ? name : "such part");
        return part ? QRect(part->mapTo(&twin, QPoint()), part->size()) : QRect();
    });
}

// In the main window with this id, showing My Wheels: down to the Wheel
// Gallery, searches for a wheel, opens its review sheet and adds it, with a
// screenshot of the search and of the sheet. `above` is the height of what
// the window shows above its pages.
inline void addFromGallery(const std::string& id, const std::string& search, const std::string& shots,
                           int above = 0) {
    xdotool("mousemove 800 500");
    xdotool("windowactivate --sync " + id + " 2>/dev/null || true");
    const QRect frame = windowFrame(id).adjusted(0, above, 0, 0);
    const QImage wheels = stillScreen(frame);
    xdotool("key Down");
    ASSERT_TRUE(screenChanges(wheels, frame)) << "the gallery did not open";

    // The gallery's list is 450 points wide and ends in a line from top to
    // bottom; the search field heads it, and the stage right of it has "Add
    // to My Wheels" centred in its header.
    // The list ends no nearer the window's left than about its own width;
    // until the page has come, a grab can show such a line anywhere, so the
    // edge counts once it has stayed put.
    const auto edge = steady(
        [&] {
            const QImage shown = grabScreen();
            for (int x = frame.left() + 400; x < frame.right(); ++x)
                if (shown.pixelColor(x, frame.top() + 30).lightness() < 200 &&
                    shown.pixelColor(x, frame.bottom() - 30).lightness() < 200)
                    return x;
            return -1;
        },
        std::chrono::milliseconds(250), [](int x) { return x > 0; });
    ASSERT_TRUE(edge.held) << "the gallery's list shows no right edge";
    const int listRight = edge.value;
    const QImage screen = stillScreen(frame);
    clickAt({listRight - 380, frame.top() + 40});
    const QRect list(frame.left(), frame.top() + 60, listRight - frame.left(), frame.height() - 60);
    xdotool("type --delay 20 '" + search + "'");
    // The list shows what was found, and the stage the first of it.
    EXPECT_TRUE(screenChanges(screen, list)) << "the search found nothing";
    stillScreen(frame).save(artifact(shots + "-found.png"));
    const QImage found = grabScreen();
    const int stageMiddle = (listRight + frame.right()) / 2;
    clickAt({stageMiddle, frame.top() + 14 + 50});
    EXPECT_TRUE(screenChanges(found, frame)) << "no review sheet";
    stillScreen(frame).save(artifact(shots + "-sheet.png"));
    xdotool("key Return");
}

inline nlohmann::json storedDefaults(const TestHome& home) {
    return nlohmann::json::parse(readFile(home.configFolder() / "defaults.json"), nullptr, false);
}

// An X server of the test's own, so that a compositor started on it changes
// nothing for the tests that share the test script's server.
struct PrivateDisplay {
    explicit PrivateDisplay(const fs::path& folder, QSize screen = {1024, 768}) {
        const fs::path number = folder / "display-number";
        const QString size = QString("%1x%2x24").arg(screen.width()).arg(screen.height());
        server.start("sh", {"-c", "exec Xvfb -displayfd 3 -screen 0 " + size + " -nolisten tcp 3>\"$0\"",
                            QString::fromStdString(number.string())});
        if (!waitFor([&] { return readFile(number).ends_with('\n'); }, patience)) return;
        name = ":" + readFile(number).substr(0, readFile(number).size() - 1);
        connection = xcb_connect(name.c_str(), nullptr);
        if (xcb_connection_has_error(connection)) name.clear();
    }
    ~PrivateDisplay() {
        if (connection) xcb_disconnect(connection);
        server.kill();
        server.waitForFinished(3000);
    }
    QProcessEnvironment environment() const {
        QProcessEnvironment environment;
        environment.insert("DISPLAY", QString::fromStdString(name));
        return environment;
    }
    void xdotool(const std::string& arguments) const {
        ASSERT_EQ(std::system(("DISPLAY=" + name + " xdotool " + arguments).c_str()), 0) << arguments;
    }
    bool composited() const { return selectionOwner(connection, "_NET_WM_CM_S0") != XCB_WINDOW_NONE; }
    // The whole screen, or the area given.
    QImage grab(QRect area = {}) const {
        const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(connection)).data;
        if (area.isNull()) area = QRect(0, 0, screen->width_in_pixels, screen->height_in_pixels);
        auto* reply = xcb_get_image_reply(connection,
                                          xcb_get_image(connection, XCB_IMAGE_FORMAT_Z_PIXMAP, screen->root,
                                                        static_cast<std::int16_t>(area.x()),
                                                        static_cast<std::int16_t>(area.y()),
                                                        static_cast<std::uint16_t>(area.width()),
                                                        static_cast<std::uint16_t>(area.height()), ~0u),
                                          nullptr);
        if (!reply) return {};
        const QImage image =
            QImage(xcb_get_image_data(reply), area.width(), area.height(), QImage::Format_RGB32).copy();
        std::free(reply);
        return image;
    }

    bool moveMainWindowAside() const { return e2e::moveMainWindowAside(name); }

    QProcess server;
    std::string name;
    xcb_connection_t* connection = nullptr;
};

// The program's main window on a display of the test's own, as its window
// manager (if any) framed it.
struct FramedWindow {
    const PrivateDisplay& display;
    std::string id;

    std::string run(const std::string& command) const {
        return output("DISPLAY=" + display.name + " " + command);
    }
    bool find() {
        const std::string ids = run("xdotool search --onlyvisible --name '^Rondelix$' 2>/dev/null");
        id = ids.substr(0, ids.find('\n'));
        return !id.empty();
    }
    // The window's content on the screen.
    QRect content() const {
        const std::string info = run("xwininfo -id " + id);
        const auto number = [&](const std::string& label) {
            const auto at = info.find(label);
            return at == std::string::npos ? -1 : std::stoi(info.substr(at + label.size()));
        };
        return {number("Absolute upper-left X:"), number("Absolute upper-left Y:"), number("Width:"),
                number("Height:")};
    }
    // The content and the frame the window manager drew around it; nothing
    // while the window is not framed yet.
    std::optional<QRect> frame() const {
        const std::string extents = run("xprop -id " + id + " _NET_FRAME_EXTENTS");
        int left = 0, right = 0, top = 0, bottom = 0;
        const auto at = extents.find('=');
        if (at == std::string::npos ||
            std::sscanf(extents.c_str() + at + 1, " %d, %d, %d, %d", &left, &right, &top, &bottom) != 4)
            return std::nullopt;
        return content().adjusted(-left, -top, right, bottom);
    }
    // The frame once it has stopped changing.
    std::optional<QRect> settledFrame() const {
        return steady([&] { return frame(); }, std::chrono::milliseconds(300),
                      [](const std::optional<QRect>& framed) { return framed.has_value(); })
            .value;
    }
};

// picom on a private display, with no shadow and no fading of its own, so
// the screen shows what the program draws; `more` adds to its settings.
struct Compositor {
    static bool installed() { return std::system("command -v picom >/dev/null 2>&1") == 0; }
    Compositor(const PrivateDisplay& display, const fs::path& folder, const std::string& more = {})
        : display(display), settings(folder / "picom.conf") {
        writeFile(settings, "backend = \"xrender\";\nshadow = false;\nfading = false;\n" + more);
        process.setProcessEnvironment(display.environment());
        process.setProcessChannelMode(QProcess::MergedChannels);
    }
    ~Compositor() { stop(); }
    // Whether it took over the screen; what it said when it did not.
    bool start() {
        process.start("picom", {"--config", QString::fromStdString(settings.string())});
        return waitFor([&] { return display.composited(); }, patience);
    }
    std::string said() { return process.readAll().toStdString(); }
    void stop() {
        if (process.state() == QProcess::NotRunning) return;
        process.kill();
        process.waitForFinished(3000);
        waitFor([&] { return !display.composited(); }, patience);
    }

    const PrivateDisplay& display;
    fs::path settings;
    QProcess process;
};

// The brightness along 32 pixels of a row from (x, y): how far it swings
// (the full 255 over sharp black and white stripes, little once they are
// blurred) and its mean.
struct RowBrightness {
    int swing = 0;
    double mean = 0;
};

inline RowBrightness rowBrightness(const QImage& image, int x, int y) {
    int darkest = 255, brightest = 0, sum = 0;
    for (int i = 0; i < 32; ++i) {
        const int grey = qGray(image.pixel(x + i, y));
        darkest = std::min(darkest, grey);
        brightest = std::max(brightest, grey);
        sum += grey;
    }
    return {brightest - darkest, sum / 32.0};
}

} // namespace rondelix::e2e

#include "platform/linux/x11/X11EventTaps.h"

#include "engine/KeyEventTap.h"
#include "platform/linux/qt/QtMainQueue.h"
#include "platform/linux/x11/X11KeyTable.h"
#include "platform/linux/x11/X11Permissions.h"
#include "platform/sim/SimLog.h"
#include "support/Patience.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QEventLoop>
#include <QProcess>
#include <QStandardPaths>
#include <QTimer>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <gtest/gtest.h>
#include <poll.h>
#include <set>
#include <thread>

// Last: Xlib's macros (None, Bool, KeyPress) clash with names in the headers above.
// clang-format off
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/keysym.h>
#include <X11/extensions/XInput2.h>
#include <X11/extensions/XTest.h>
// clang-format on

namespace rondelix {
namespace {

constexpr int patienceMs = static_cast<int>(testing::patience * 1000);

using platform::EventType;
using platform::InputEvent;
using platform::TapMode;
using platform::TapVerdict;
using platform::linux_desktop::QtMainQueue;
using platform::linux_desktop::X11EventTaps;

// The desktop tests share one process when run together: use whatever
// application object is there, and make a plain one only when none is.
void ensureApplication() {
    if (QCoreApplication::instance()) return;
    static int argc = 1;
    static char name[] = "rondelix_linux_tests";
    static char* argv[] = {name, nullptr};
    new QCoreApplication(argc, argv);
}

// Runs the main queue until the condition holds or the time is up.
bool pumpUntil(const std::function<bool()>& done, int ms = 3000) {
    const QDeadlineTimer deadline(ms);
    while (!done()) {
        if (deadline.hasExpired()) return false;
        QEventLoop loop;
        QTimer::singleShot(5, &loop, &QEventLoop::quit);
        loop.exec();
    }
    return true;
}

// A private X server, so these tests neither disturb nor are disturbed by
// anything else running on a shared display.
class PrivateXServer {
  public:
    bool start(const QString& display = {}) {
        if (QStandardPaths::findExecutable("Xvfb").isEmpty()) return false;
        QStringList args{"-screen", "0", "640x480x24", "-nolisten", "tcp", "-noreset"};
        if (display.isEmpty())
            args = QStringList{"-displayfd", "1"} + args;
        else
            args.prepend(display);
        process_.setProgram("Xvfb");
        process_.setArguments(args);
        process_.start();
        if (!process_.waitForStarted(patienceMs)) return false;
        if (display.isEmpty()) {
            if (!process_.waitForReadyRead(patienceMs)) return false;
            name_ = ":" + process_.readLine().trimmed().toStdString();
        } else {
            name_ = display.toStdString();
        }
        // Ready once a client gets through.
        const QDeadlineTimer deadline(patienceMs);
        while (!deadline.hasExpired()) {
            if (Display* d = XOpenDisplay(name_.c_str())) {
                XCloseDisplay(d);
                return true;
            }
            QEventLoop loop;
            QTimer::singleShot(20, &loop, &QEventLoop::quit);
            loop.exec();
        }
        return false;
    }

    void stop() {
        process_.terminate();
        process_.waitForFinished(5000);
    }

    ~PrivateXServer() {
        if (process_.state() != QProcess::NotRunning) stop();
    }

    const std::string& name() const { return name_; }

  private:
    QProcess process_;
    std::string name_;
};

struct X11EventTapsTest : ::testing::Test {
    PrivateXServer server;
    Display* test = nullptr; // the test's own connection, playing another application
    Window window = 0;
    std::unique_ptr<QtMainQueue> queue;
    platform::sim::SimLog log;
    std::unique_ptr<X11EventTaps> taps;
    std::vector<InputEvent> heard;
    KeyEventTap* listen = nullptr;
    unsigned deliveredKeyCode = 0; // of the key press nextDelivered() found last
    std::unique_ptr<KeyEventTap> listenTap;

    void SetUp() override {
        ensureApplication();
        if (!server.start()) GTEST_SKIP() << "Xvfb is not available";
        test = XOpenDisplay(server.name().c_str());
        ASSERT_NE(test, nullptr) << server.name();
        queue = std::make_unique<QtMainQueue>();
        taps = std::make_unique<X11EventTaps>(*queue, log, server.name());
        listenTap = std::make_unique<KeyEventTap>(*taps);
        ASSERT_TRUE(
            listenTap->install(TapMode::listenOnly, listenMask, [this](EventType, const InputEvent& e) {
                heard.push_back(e);
                return TapVerdict::pass;
            }));
    }

    void TearDown() override {
        listenTap.reset();
        taps.reset();
        queue.reset();
        if (test) XCloseDisplay(test);
    }

    void xdotool(const std::string& args) {
        const std::string command = "DISPLAY=" + server.name() + " xdotool " + args;
        ASSERT_EQ(std::system(command.c_str()), 0) << command;
    }

    bool hear(std::size_t count) {
        return pumpUntil([&] { return heard.size() >= count; });
    }

    // A focused window under the pointer, as the application the user works in.
    void openWindow() {
        window = XCreateSimpleWindow(test, DefaultRootWindow(test), 0, 0, 640, 480, 0, 0, 0);
        XSelectInput(test, window, KeyPressMask | ButtonPressMask | StructureNotifyMask);
        XMapWindow(test, window);
        XEvent event;
        do
            XNextEvent(test, &event);
        while (event.type != MapNotify);
        XSetInputFocus(test, window, RevertToParent, CurrentTime);
        XWarpPointer(test, None, window, 0, 0, 0, 0, 320, 240);
        XSync(test, False);
    }

    // The next key or button press the window receives, as its keysym or
    // button number. Turns the main queue meanwhile unless told not to, as
    // when the test plays a stalled main thread.
    std::optional<std::string> nextDelivered(bool turnMainQueue = true, int ms = 3000) {
        const QDeadlineTimer deadline(ms);
        while (!deadline.hasExpired()) {
            while (XPending(test) > 0) {
                XEvent event;
                XNextEvent(test, &event);
                if (event.type == KeyPress) {
                    const KeySym sym = XLookupKeysym(&event.xkey, 0);
                    if (IsModifierKey(sym)) continue;
                    deliveredKeyCode = event.xkey.keycode;
                    const char* name = XKeysymToString(sym);
                    return std::string(name ? name : "") + ((event.xkey.state & ControlMask) ? "+ctrl" : "") +
                           ((event.xkey.state & Mod4Mask) ? "+super" : "");
                }
                if (event.type == ButtonPress) return "button" + std::to_string(event.xbutton.button);
            }
            if (turnMainQueue) {
                QEventLoop loop;
                QTimer::singleShot(5, &loop, &QEventLoop::quit);
                loop.exec();
            } else {
                pollfd fd{ConnectionNumber(test), POLLIN, 0};
                poll(&fd, 1, static_cast<int>(std::max<qint64>(1, deadline.remainingTime())));
            }
        }
        return std::nullopt;
    }
};

TEST_F(X11EventTapsTest, ListenTapReportsSystemKeyCodesFlagsWithSidesAndExtraButtons) {
    xdotool("keydown Alt_L");
    ASSERT_TRUE(hear(1));
    EXPECT_EQ(heard[0].type, EventType::flagsChanged);
    EXPECT_EQ(heard[0].keyCode, 58);
    EXPECT_EQ(heard[0].flags, ModifierFlag::option | ModifierFlag::leftOption);
    EXPECT_TRUE(taps->isKeyDown(58));
    EXPECT_EQ(taps->flagsState(), ModifierFlag::option | ModifierFlag::leftOption);

    // xdotool presses the left twin before a right-hand modifier.
    xdotool("keydown Super_R keydown a");
    ASSERT_TRUE(hear(4));
    const std::uint64_t held = ModifierFlag::option | ModifierFlag::leftOption | ModifierFlag::command |
                               ModifierFlag::leftCommand | ModifierFlag::rightCommand;
    EXPECT_EQ(heard[1].keyCode, 55);
    EXPECT_EQ(heard[2].keyCode, 54);
    EXPECT_EQ(heard[2].flags, held);
    EXPECT_EQ(heard[3].type, EventType::keyDown);
    EXPECT_EQ(heard[3].keyCode, 0);
    EXPECT_EQ(heard[3].flags, held);
    EXPECT_EQ(heard[3].characters, u"a");
    EXPECT_FALSE(heard[3].autoRepeat);
    EXPECT_EQ(heard[3].sourceUserData, 0u) << "xdotool's keys are the user's, not ours";

    xdotool("keyup a keyup Super_R keyup Alt_L");
    ASSERT_TRUE(hear(8));
    EXPECT_EQ(heard[4].type, EventType::keyUp);
    EXPECT_EQ(heard[7].keyCode, 58);
    EXPECT_EQ(heard[7].flags, 0u);
    EXPECT_FALSE(taps->isKeyDown(58));

    heard.clear();
    xdotool("keydown Shift_R keydown 1");
    ASSERT_TRUE(hear(3));
    EXPECT_EQ(heard[1].keyCode, 60);
    EXPECT_EQ(heard[1].flags, ModifierFlag::shift | ModifierFlag::leftShift | ModifierFlag::rightShift);
    EXPECT_EQ(heard[2].keyCode, 18);
    EXPECT_EQ(heard[2].characters, u"!");
    xdotool("keyup 1 keyup Shift_R");
    ASSERT_TRUE(hear(6));

    heard.clear();
    xdotool("mousedown 8");
    ASSERT_TRUE(hear(1));
    EXPECT_TRUE(taps->isButtonDown(3));
    xdotool("mouseup 8 mousedown 9 mouseup 9");
    ASSERT_TRUE(hear(4));
    EXPECT_EQ(heard[0].type, EventType::otherMouseDown);
    EXPECT_EQ(heard[0].buttonNumber, 3);
    EXPECT_EQ(heard[1].type, EventType::otherMouseUp);
    EXPECT_EQ(heard[1].buttonNumber, 3);
    EXPECT_EQ(heard[2].buttonNumber, 4);
    EXPECT_FALSE(taps->isButtonDown(3));
}

TEST_F(X11EventTapsTest, EveryRowOfThePositionTableArrivesAsItsSystemKeyCode) {
    const auto rows = platform::linux_desktop::X11KeyTable::rows();
    for (const auto& row : rows) {
        XTestFakeKeyEvent(test, static_cast<unsigned>(row.evdevCode + 8), True, CurrentTime);
        XTestFakeKeyEvent(test, static_cast<unsigned>(row.evdevCode + 8), False, CurrentTime);
    }
    // A key the system has no code for (play/pause) is logged once and skipped.
    for (int i = 0; i < 2; ++i) {
        XTestFakeKeyEvent(test, 172, True, CurrentTime);
        XTestFakeKeyEvent(test, 172, False, CurrentTime);
    }
    XTestFakeKeyEvent(test, 38, True, CurrentTime);
    XTestFakeKeyEvent(test, 38, False, CurrentTime);
    XSync(test, False);
    ASSERT_TRUE(hear(rows.size() * 2 + 2)) << heard.size();
    EXPECT_EQ(heard.back().keyCode, 0);
    EXPECT_EQ(std::count(log.lines().begin(), log.lines().end(),
                         "Rondelix: unknown X key code 172; its events are ignored."),
              1);
    for (std::size_t i = 0; i < rows.size(); ++i) {
        EXPECT_EQ(heard[2 * i].keyCode, rows[i].keyCode) << "evdev " << rows[i].evdevCode;
        EXPECT_EQ(heard[2 * i + 1].keyCode, rows[i].keyCode) << "evdev " << rows[i].evdevCode;
    }
}

TEST_F(X11EventTapsTest, InterceptingTapSwallowsWhileInstalledAndStopsWhenRemoved) {
    openWindow();
    std::vector<InputEvent> intercepted;
    KeyEventTap armed(*taps);
    ASSERT_TRUE(armed.install(TapMode::intercepting, armedMask, [&](EventType type, const InputEvent& e) {
        intercepted.push_back(e);
        // Swallow the b key and the left button; let the rest through.
        const bool swallow =
            e.keyCode == 11 || type == EventType::leftMouseDown || type == EventType::leftMouseUp;
        return swallow ? TapVerdict::swallow : TapVerdict::pass;
    }));

    xdotool("key b key d click 1 click 2");
    // The keyboard waits for b to come up, the pointer does not.
    const std::set<std::optional<std::string>> delivered{nextDelivered(), nextDelivered()};
    EXPECT_EQ(delivered, (std::set<std::optional<std::string>>{"d", "button2"}));
    // A passed press goes on without its grab, so its release is not ours.
    // Keys and buttons are frozen apart, so only each device keeps its order.
    ASSERT_TRUE(pumpUntil([&] { return intercepted.size() >= 6; })) << intercepted.size();
    std::vector<std::pair<EventType, int>> keys, buttons;
    for (const auto& e : intercepted) {
        if (e.type == EventType::keyDown || e.type == EventType::keyUp)
            keys.emplace_back(e.type, e.keyCode);
        else
            buttons.emplace_back(e.type, static_cast<int>(e.buttonNumber));
    }
    EXPECT_EQ(keys, (std::vector<std::pair<EventType, int>>{
                        {EventType::keyDown, 11}, {EventType::keyUp, 11}, {EventType::keyDown, 2}}));
    EXPECT_EQ(buttons, (std::vector<std::pair<EventType, int>>{{EventType::leftMouseDown, 0},
                                                               {EventType::leftMouseUp, 0},
                                                               {EventType::otherMouseDown, 2}}));

    armed.uninstall();
    xdotool("key b click 1");
    // Had the first b or click leaked, it would come before these.
    EXPECT_EQ(nextDelivered(), "b");
    EXPECT_EQ(nextDelivered(), "button1");
    EXPECT_EQ(intercepted.size(), 6u);
}

// What the window receives for a while, the main queue turning meanwhile:
// key presses and releases by keysym, and changes of its focus.
std::vector<std::string> receivedFor(Display* test, int ms) {
    std::vector<std::string> received;
    const QDeadlineTimer deadline(ms);
    while (!deadline.hasExpired()) {
        while (XPending(test) > 0) {
            XEvent event;
            XNextEvent(test, &event);
            if (event.type == KeyPress || event.type == KeyRelease) {
                const char* name = XKeysymToString(XLookupKeysym(&event.xkey, 0));
                received.push_back(std::string(event.type == KeyPress ? "press " : "release ") +
                                   (name ? name : "?"));
            } else if ((event.type == FocusIn || event.type == FocusOut) &&
                       event.xfocus.detail != NotifyPointer) {
                received.push_back(event.type == FocusIn ? "focus-in" : "focus-out");
            }
        }
        QEventLoop loop;
        QTimer::singleShot(5, &loop, &QEventLoop::quit);
        loop.exec();
    }
    return received;
}

// A key the tap swallowed, still down when the keyboard goes back (a key the
// window saw go down comes up), is held alone: its repeats reach neither
// the window nor the tap, the window keeps its focus, and another key goes
// to the window. Withheld, it stays so after the tap goes, until it is up.
TEST_F(X11EventTapsTest, ASwallowedKeyStillDownIsHeldAloneUntilItComesUp) {
    openWindow();
    XSelectInput(test, window, KeyPressMask | KeyReleaseMask | FocusChangeMask | StructureNotifyMask);
    XSync(test, False);
    int pressesOfTwo = 0;
    KeyEventTap armed(*taps);
    ASSERT_TRUE(armed.install(TapMode::intercepting, armedMask, [&](EventType type, const InputEvent& e) {
        if (type != EventType::keyDown || e.keyCode != 19) return TapVerdict::pass;
        ++pressesOfTwo;
        return TapVerdict::swallow;
    }));
    xdotool("keydown Super_L keydown 2");
    ASSERT_TRUE(pumpUntil([&] { return pressesOfTwo == 1; }));
    xdotool("keyup Super_L");
    // Past the keyboard's repeat delay.
    std::vector<std::string> afterSuper = receivedFor(test, 800);
    const int tapped = pressesOfTwo;
    for (const std::string& event : receivedFor(test, 800))
        afterSuper.push_back(event);
    const auto from = std::find(afterSuper.begin(), afterSuper.end(), "release Super_L");
    ASSERT_NE(from, afterSuper.end());
    // The hold's grab, on the window with the focus, takes the key at its
    // first repeat and keeps it: the window is told of the grab once, and
    // keeps the focus.
    const std::vector<std::string> taken{"focus-out", "focus-in"};
    EXPECT_EQ(std::vector<std::string>(from + 1, afterSuper.end()), taken);
    EXPECT_EQ(pressesOfTwo, tapped) << "the repeats stay with the hold";

    taps->withholdUntilReleased(19);
    armed.uninstall();
    EXPECT_EQ(receivedFor(test, 500), std::vector<std::string>{});
    // Another key goes to the window, which has the focus while it does.
    xdotool("key x");
    const std::vector<std::string> withheld = receivedFor(test, 1000);
    EXPECT_EQ(std::count(withheld.begin(), withheld.end(), "press x"), 1);
    EXPECT_EQ(std::count(withheld.begin(), withheld.end(), "release x"), 1);
    EXPECT_EQ(std::count(withheld.begin(), withheld.end(), "press 2"), 0);
    xdotool("keyup 2 key 2");
    EXPECT_EQ(nextDelivered(), "2") << "nothing is held once the key is up";
}

// A press that comes while redraws wait on the main queue is answered ahead
// of them, which together take longer than a press may wait.
TEST_F(X11EventTapsTest, APressIsAnsweredAheadOfTheRedrawsWaitingOnTheMainQueue) {
    // The seam: the count of steps the taps posted.
    struct CountingQueue final : platform::MainQueue {
        explicit CountingQueue(platform::MainQueue& queue) : queue(queue) {}
        void post(std::function<void()> fn) override {
            queue.post(std::move(fn));
            ++posted;
        }
        void postFirst(std::function<void()> fn) override {
            queue.postFirst(std::move(fn));
            ++posted;
        }
        platform::Cancel after(double seconds, std::function<void()> fn) override {
            return queue.after(seconds, std::move(fn));
        }
        double now() const override { return queue.now(); }
        platform::MainQueue& queue;
        std::atomic<int> posted = 0;
    } counting(*queue);
    X11EventTaps own(counting, log, server.name());
    std::vector<std::string> order;
    KeyEventTap armed(own);
    ASSERT_TRUE(armed.install(TapMode::intercepting, armedMask, [&](EventType type, const InputEvent& e) {
        if (type == EventType::keyDown && !e.autoRepeat) order.push_back("press");
        return TapVerdict::swallow;
    }));
    pumpUntil([] { return false; }, 200);
    const int before = counting.posted;
    for (int i = 0; i < 4; ++i)
        queue->post([&] {
            std::this_thread::sleep_for(std::chrono::milliseconds(400));
            order.push_back("redraw");
        });
    XTestFakeKeyEvent(test, XKeysymToKeycode(test, XK_e), True, CurrentTime);
    XSync(test, False);
    // The press is posted while the redraws wait: the main thread has not turned.
    const QDeadlineTimer patience(30000);
    while (counting.posted == before && !patience.hasExpired())
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    ASSERT_GT(counting.posted, before);
    ASSERT_TRUE(pumpUntil([&] { return order.size() == 5; }, 10000))
        << order.size() << " " << (log.lines().empty() ? "" : log.lines().back());
    EXPECT_EQ(order.front(), "press");
    EXPECT_FALSE(log.contains("Rondelix: an intercepting tap answered too slowly; its grab was lifted."));
    XTestFakeKeyEvent(test, XKeysymToKeycode(test, XK_e), False, CurrentTime);
    XSync(test, False);
}

TEST_F(X11EventTapsTest, KeysAWindowManagerGrabsGoToItOnlyWithItsModifiers) {
    openWindow();
    // A window manager's shortcut, Alt+Tab, grabbed the way window managers do.
    int pointer = 0, count = 0;
    XIGetClientPointer(test, None, &pointer);
    XIDeviceInfo* info = XIQueryDevice(test, pointer, &count);
    const int keyboard = info[0].attachment; // the master keyboard paired with it
    XIFreeDeviceInfo(info);
    unsigned char bits[XIMaskLen(XI_LASTEVENT)] = {};
    XISetMask(bits, XI_KeyPress);
    XIEventMask mask{keyboard, sizeof bits, bits};
    XIGrabModifiers altTab{Mod1Mask, 0};
    const int tab = XKeysymToKeycode(test, XK_Tab);
    ASSERT_EQ(XIGrabKeycode(test, keyboard, tab, DefaultRootWindow(test), XIGrabModeAsync, XIGrabModeAsync,
                            False, &mask, 1, &altTab),
              0);
    XSync(test, False);

    std::vector<InputEvent> intercepted;
    KeyEventTap armed(*taps);
    ASSERT_TRUE(armed.install(TapMode::intercepting, armedMask, [&](EventType, const InputEvent& e) {
        intercepted.push_back(e);
        return e.keyCode == 48 ? TapVerdict::swallow : TapVerdict::pass;
    }));
    ASSERT_TRUE(pumpUntil([&] {
        return log.contains("Rondelix: another program grabs some keys or buttons of the root window; "
                            "pressed with its modifiers, they reach it rather than the wheel.");
    }));
    xdotool("key Tab key x key alt+Tab key y");
    EXPECT_EQ(nextDelivered(), "x") << "Tab alone is the wheel's";
    EXPECT_EQ(nextDelivered(), "y");
    std::size_t tabs = 0;
    for (const auto& e : intercepted)
        tabs += e.type == EventType::keyDown && e.keyCode == 48;
    EXPECT_EQ(tabs, 1u) << "Alt+Tab stays the window manager's";

    armed.uninstall();
    xdotool("key Tab");
    EXPECT_EQ(nextDelivered(), "Tab") << "nothing stays grabbed";
}

TEST_F(X11EventTapsTest, PostedKeysAreRecognisedAsOursAndPassAnArmedTap) {
    openWindow();
    taps->postKey(0, true, 0);
    taps->postKey(0, false, 0);
    ASSERT_TRUE(hear(2));
    EXPECT_EQ(heard[0].keyCode, 0);
    EXPECT_EQ(heard[0].sourceUserData, platform::programEventMarker);
    EXPECT_EQ(heard[1].sourceUserData, platform::programEventMarker);
    EXPECT_EQ(nextDelivered(), "a");

    // While armed, our own keystroke still reaches the application; Command
    // goes out as Control.
    KeyEventTap armed(*taps);
    ASSERT_TRUE(armed.install(TapMode::intercepting, armedMask, [](EventType, const InputEvent& e) {
        return e.sourceUserData == platform::programEventMarker ? TapVerdict::pass : TapVerdict::swallow;
    }));
    heard.clear();
    taps->postKey(9, true, ModifierFlag::command);
    taps->postKey(9, false, ModifierFlag::command);
    EXPECT_EQ(nextDelivered(), "v+ctrl");
    ASSERT_TRUE(hear(4));
    for (const auto& e : heard)
        EXPECT_EQ(e.sourceUserData, platform::programEventMarker);
    EXPECT_EQ(heard[0].keyCode, 59);
    EXPECT_EQ(heard[1].flags, ModifierFlag::control | ModifierFlag::leftControl);

    // The user's own key, through the same XTEST device, is not ours.
    xdotool("key a");
    ASSERT_TRUE(hear(5));
    EXPECT_EQ(heard[4].sourceUserData, 0u);
    armed.uninstall();
    xdotool("key c");
    EXPECT_EQ(nextDelivered(), "c");
    // The left Command key's own bit holds Super itself.
    taps->postKey(38, true, ModifierFlag::leftCommand);
    taps->postKey(38, false, ModifierFlag::leftCommand);
    EXPECT_EQ(nextDelivered(), "j+super");
}

// Print Screen, which desktops take for screenshots, and the spare F13 are
// two keys, heard apart and sent apart; so are Scroll Lock and F14, Pause and
// F15. Keys by their X key codes: the F13 to F15 positions carry other
// symbols on the usual keyboard maps.
TEST_F(X11EventTapsTest, F13ToF15AndPrintScreenScrollLockAndPauseAreHeardAndSentApart) {
    openWindow();
    const std::vector<std::pair<unsigned, int>> keys{{191, 105}, {107, 108}, {192, 107},
                                                     {78, 112},  {193, 113}, {127, 66}};
    for (const auto& [x, code] : keys) {
        heard.clear();
        XTestFakeKeyEvent(test, x, True, CurrentTime);
        XTestFakeKeyEvent(test, x, False, CurrentTime);
        XSync(test, False);
        ASSERT_TRUE(nextDelivered());
        ASSERT_TRUE(hear(2)) << x;
        EXPECT_EQ(heard[0].keyCode, code) << x;
        taps->postKey(static_cast<std::uint16_t>(code), true, 0);
        taps->postKey(static_cast<std::uint16_t>(code), false, 0);
        ASSERT_TRUE(nextDelivered());
        EXPECT_EQ(deliveredKeyCode, x) << code;
        ASSERT_TRUE(hear(4)) << "the taps hear what was sent, too";
    }
}

TEST_F(X11EventTapsTest, AStalledMainThreadLosesTheGrabAndTheTapComesBack) {
    openWindow();
    int handled = 0;
    KeyEventTap armed(*taps);
    ASSERT_TRUE(armed.install(TapMode::intercepting, armedMask, [&](EventType, const InputEvent&) {
        ++handled;
        return TapVerdict::swallow;
    }));

    // No main-queue turns: the press waits for a verdict that never comes,
    // and the time limit hands it to the window.
    xdotool("key e");
    EXPECT_EQ(nextDelivered(false), "e");

    ASSERT_TRUE(pumpUntil([&] {
        return log.contains("Rondelix: an intercepting tap answered too slowly; its grab was lifted.");
    }));
    EXPECT_TRUE(armed.isEnabled()) << "the tap switches itself back on after a time-out";
    xdotool("key f");
    ASSERT_TRUE(pumpUntil([&] { return handled >= 3; }));
    armed.uninstall();
    xdotool("key g");
    EXPECT_EQ(nextDelivered(), "g");
}

// A busy main thread hears a key press and the pointer's move late: the
// press still says when it happened, and the pointer's travel since then is
// known, by the server's record of its moves.
TEST_F(X11EventTapsTest, ABusyMainThreadStillLearnsWhenAKeyWentDownAndWhereThePointerWasThen) {
    openWindow();
    // The a key alone summons: where the pointer was is noted as it goes down.
    taps->setSummonChords({{{0}, {}}});
    const auto pointer = [&] {
        Window root = 0, child = 0;
        int x = 0, y = 0, winX = 0, winY = 0;
        unsigned state = 0;
        XQueryPointer(test, DefaultRootWindow(test), &root, &child, &x, &y, &winX, &winY, &state);
        return std::pair{x, y};
    };
    // The clocks' offset is learnt from the quickest delivery seen: a few
    // keys first, so that one slow delivery on a busy machine does not set it.
    for (int i = 0; i < 6; ++i) {
        XTestFakeKeyEvent(test, XKeysymToKeycode(test, XK_b), i % 2 == 0, CurrentTime);
        XSync(test, False);
        ASSERT_TRUE(hear(static_cast<std::size_t>(i + 1)));
    }
    heard.clear();
    const double before = queue->now();
    XTestFakeKeyEvent(test, XKeysymToKeycode(test, XK_a), True, CurrentTime);
    XSync(test, False);
    const double pressed = queue->now();
    // The main thread stalls: nothing turns its queue meanwhile.
    std::this_thread::sleep_for(std::chrono::milliseconds(150));
    const auto from = pointer();
    XTestFakeRelativeMotionEvent(test, 0, 40, CurrentTime);
    XSync(test, False);
    const auto to = pointer();
    ASSERT_NE(from, to);

    ASSERT_TRUE(hear(1));
    ASSERT_TRUE(heard[0].time.has_value());
    // The server counts whole milliseconds, and the offset may still be a
    // delivery's time off: well before the stall ended all the same.
    EXPECT_GE(*heard[0].time, before - 0.002);
    EXPECT_LE(*heard[0].time, pressed + 0.05);
    // Where the pointer was halfway between the press and the move. The taps
    // hear the motion on a connection of their own, in their own time.
    platform::Point travel;
    EXPECT_TRUE(
        pumpUntil([&] { return (travel = taps->pointerTravelSince(pressed + 0.075)) != platform::Point{}; }));
    EXPECT_EQ(travel.x, to.first - from.first);
    EXPECT_EQ(travel.y, from.second - to.second) << "y grows upwards";
    EXPECT_EQ(taps->pointerTravelSince(queue->now()), platform::Point{});
    XTestFakeKeyEvent(test, XKeysymToKeycode(test, XK_a), False, CurrentTime);
    XSync(test, False);
}

TEST_F(X11EventTapsTest, AHandlerThatThrowsLetsItsEventGoOnAndLeavesNothingGrabbed) {
    openWindow();
    KeyEventTap armed(*taps);
    ASSERT_TRUE(armed.install(TapMode::intercepting, armedMask, [](EventType, const InputEvent& e) {
        if (e.keyCode == 11) throw std::runtime_error("broken");
        return TapVerdict::swallow;
    }));
    xdotool("key b");
    EXPECT_EQ(nextDelivered(), "b");
    EXPECT_TRUE(log.contains("Rondelix: an intercepting tap's handler failed (broken); the event went on "
                             "and the intercepting taps were switched off."));
    EXPECT_TRUE(armed.isInstalled());
    EXPECT_FALSE(armed.isEnabled()) << "left off for its owner to notice";
    // Not frozen for a second and not grabbed: the next key goes straight on.
    xdotool("key c");
    EXPECT_EQ(nextDelivered(false, 500), "c");

    KeyEventTap failingListen(*taps);
    ASSERT_TRUE(failingListen.install(
        TapMode::listenOnly, listenMask,
        [](EventType, const InputEvent&) -> TapVerdict { throw std::runtime_error("deaf"); }));
    heard.clear();
    xdotool("key d");
    ASSERT_TRUE(hear(2)) << "the other listeners still hear";
    EXPECT_TRUE(log.contains("Rondelix: a listening tap's handler failed (deaf); the event went on."));
}

TEST_F(X11EventTapsTest, DevicesComingAndGoingAreLoggedAndListeningGoesOn) {
    XIAddMasterInfo add{XIAddMaster, const_cast<char*>("extra"), True, True};
    XIChangeHierarchy(test, reinterpret_cast<XIAnyHierarchyChangeInfo*>(&add), 1);
    XSync(test, False);
    ASSERT_TRUE(
        pumpUntil([&] { return log.contains("Rondelix: input device added: extra XTEST keyboard"); }));

    int count = 0;
    XIDeviceInfo* info = XIQueryDevice(test, XIAllMasterDevices, &count);
    int extra = 0;
    for (int i = 0; i < count; ++i)
        if (std::string(info[i].name) == "extra pointer") extra = info[i].deviceid;
    XIFreeDeviceInfo(info);
    ASSERT_NE(extra, 0);
    XIRemoveMasterInfo remove{XIRemoveMaster, extra, XIFloating, 0, 0};
    XIChangeHierarchy(test, reinterpret_cast<XIAnyHierarchyChangeInfo*>(&remove), 1);
    XSync(test, False);
    ASSERT_TRUE(
        pumpUntil([&] { return log.contains("Rondelix: input device removed: extra XTEST keyboard"); }));

    xdotool("key z");
    ASSERT_TRUE(hear(2));
    EXPECT_EQ(heard[0].keyCode, 6);
}

TEST_F(X11EventTapsTest, ALostServerSwitchesTapsOffAndTheNextInstallReconnects) {
    XCloseDisplay(test);
    test = nullptr;
    const std::string name = server.name();
    server.stop();
    ASSERT_TRUE(pumpUntil([&] {
        return log.contains(
            "Rondelix: lost the connection to the X server; global input taps are off until it comes back.");
    }));
    EXPECT_FALSE(listenTap->isEnabled());
    EXPECT_TRUE(heard.empty()) << "the notice of the loss is no input for the handler";
    EXPECT_FALSE(taps->isKeyDown(0));
    taps->postKey(0, true, 0);
    EXPECT_FALSE(listenTap->install(TapMode::listenOnly, listenMask,
                                    [](EventType, const InputEvent&) { return TapVerdict::pass; }));
    EXPECT_TRUE(log.contains("Rondelix: cannot connect to the X11 display " + name +
                             ", so global input is out of reach."));

    ASSERT_TRUE(server.start(QString::fromStdString(name)));
    test = XOpenDisplay(name.c_str());
    ASSERT_TRUE(listenTap->install(TapMode::listenOnly, listenMask, [this](EventType, const InputEvent& e) {
        heard.push_back(e);
        return TapVerdict::pass;
    }));
    heard.clear();
    xdotool("key q");
    ASSERT_TRUE(hear(2));
    EXPECT_EQ(heard[0].keyCode, 12);
}

TEST(X11PermissionsTest, AnX11SessionGrantsBothAndNoDisplayReadsAsDeniedWithTheReasonLoggedOnce) {
    ensureApplication();
    PrivateXServer server;
    if (!server.start()) GTEST_SKIP() << "Xvfb is not available";
    platform::sim::SimLog log;
    platform::linux_desktop::X11Permissions granted(log, server.name());
    EXPECT_TRUE(granted.isAccessibilityTrusted());
    EXPECT_TRUE(granted.canListenToInput());
    EXPECT_TRUE(log.lines().empty());

    platform::linux_desktop::X11Permissions denied(log, ":4242");
    EXPECT_FALSE(denied.isAccessibilityTrusted());
    EXPECT_FALSE(denied.canListenToInput());
    EXPECT_FALSE(denied.primeListenRegistration());
    EXPECT_EQ(log.lines(),
              std::vector<std::string>{"Rondelix: global input denied: cannot connect to the X11 "
                                       "display :4242, so global input is out of reach."});
}

} // namespace
} // namespace rondelix

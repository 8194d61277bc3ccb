#include "actions/MacroExecutor.h"
#include "platform/linux/DesktopApplication.h"
#include "platform/linux/qt/QtMainQueue.h"
#include "platform/linux/qt/QtPasteboard.h"
#include "platform/linux/x11/X11EventTaps.h"
#include "platform/linux/x11/X11ModifierLift.h"
#include "platform/sim/SimLog.h"
#include "platform/sim/SimProcesses.h"
#include "platform/sim/SimSounds.h"
#include "platform/sim/SimWorkspace.h"
#include "support/Patience.h"

#include <QDeadlineTimer>
#include <QEventLoop>
#include <QProcess>
#include <QTimer>
#include <gtest/gtest.h>

// Last: Xlib's macros clash with names in the headers above.
// clang-format off
#include <X11/Xlib.h>
#include <X11/keysym.h>
#include <X11/extensions/XInput.h>
#include <X11/extensions/XInput2.h>
#include <X11/extensions/XTest.h>
// clang-format on

namespace rondelix {
namespace {

using platform::linux_desktop::ModifierKey;
using platform::linux_desktop::ModifierLift;
using platform::linux_desktop::planModifierLift;

constexpr unsigned shiftBit = 1u << 0, controlBit = 1u << 2, altBit = 1u << 3, superBit = 1u << 6;

TEST(ModifierLiftPlan, LiftsOnlyWhatTheStrokeDoesNotUseAndBreaksAltAndSuperTaps) {
    const ModifierKey leftCtrl{37, controlBit}, rightCtrl{105, controlBit}, leftShift{50, shiftBit},
        leftAlt{64, altBit, true}, leftSuper{133, superBit, true};
    struct Case {
        const char* what;
        std::vector<ModifierKey> held, stroke;
        ModifierLift plan;
    };
    const std::vector<Case> cases{
        {"nothing held", {}, {leftCtrl}, {{}, {37}, false}},
        {"the summon keys", {leftAlt, leftSuper}, {leftCtrl}, {{64, 133}, {37}, true}},
        {"a held Shift is no tap", {leftShift}, {leftCtrl}, {{50}, {37}, false}},
        {"a held Ctrl serves the stroke", {rightCtrl, leftSuper}, {leftCtrl}, {{133}, {}, true}},
        {"the stroke's own Alt stays held", {leftAlt, leftSuper}, {leftCtrl, leftAlt}, {{133}, {37}, true}},
        {"a stroke without modifiers", {leftAlt}, {}, {{64}, {}, true}},
        {"a key listed twice is lifted once", {leftAlt, leftAlt}, {}, {{64}, {}, true}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(planModifierLift(c.held, c.stroke), c.plan) << c.what;
}

// Runs the event loop (the main queue, the clipboard's answers) until done.
bool pumpUntil(const std::function<bool()>& done, int ms = 5000) {
    const QDeadlineTimer deadline(ms);
    while (!done()) {
        if (deadline.hasExpired()) return false;
        QEventLoop loop;
        QTimer::singleShot(5, &loop, &QEventLoop::quit);
        loop.exec();
    }
    return true;
}

// The desktop's view of the keyboard: presses and releases of the master
// devices, as a desktop watching for a lone Alt or Super tap sees them.
class DesktopWatch {
  public:
    explicit DesktopWatch(Display* display) : display_(display) {
        int event = 0, error = 0;
        XQueryExtension(display_, "XInputExtension", &opcode_, &event, &error);
        unsigned char bits[XIMaskLen(XI_LASTEVENT)] = {};
        XISetMask(bits, XI_RawKeyPress);
        XISetMask(bits, XI_RawKeyRelease);
        XIEventMask mask{XIAllMasterDevices, sizeof bits, bits};
        XISelectEvents(display_, DefaultRootWindow(display_), &mask, 1);
        XSync(display_, False);
        for (const KeySym sym : {XK_Alt_L, XK_Super_L})
            tapSensitive_.push_back(XKeysymToKeycode(display_, sym));
    }

    // Alt or Super released with no key pressed since its own press.
    int loneTaps() {
        read();
        return loneTaps_;
    }

  private:
    void read() {
        while (XPending(display_) > 0) {
            XEvent event;
            XNextEvent(display_, &event);
            if (event.type != GenericEvent || event.xcookie.extension != opcode_) continue;
            if (!XGetEventData(display_, &event.xcookie)) continue;
            const auto* raw = static_cast<const XIRawEvent*>(event.xcookie.data);
            const int key = raw->detail;
            if (event.xcookie.evtype == XI_RawKeyPress) {
                lastPressed_ = key;
                down_.insert(key);
            } else if (down_.erase(key) && key == lastPressed_ &&
                       std::ranges::find(tapSensitive_, key) != tapSensitive_.end()) {
                ++loneTaps_;
            }
            XFreeEventData(display_, &event.xcookie);
        }
    }

    Display* display_;
    int opcode_ = 0;
    std::vector<int> tapSensitive_;
    std::set<int> down_;
    int lastPressed_ = 0;
    int loneTaps_ = 0;
};

// The user's own keyboard: the server's core keyboard, a device other than
// the XTEST one the program posts through.
class UsersKeyboard {
  public:
    explicit UsersKeyboard(Display* display) : display_(display) {
        int count = 0;
        XIDeviceInfo* info = XIQueryDevice(display_, XIAllDevices, &count);
        for (int i = 0; i < count && !device_; ++i)
            if (info[i].use == XISlaveKeyboard &&
                std::string(info[i].name).find("XTEST") == std::string::npos)
                device_ = XOpenDevice(display_, static_cast<XID>(info[i].deviceid));
        XIFreeDeviceInfo(info);
    }
    ~UsersKeyboard() {
        if (device_) XCloseDevice(display_, device_);
    }
    bool exists() const { return device_ != nullptr; }
    void key(KeySym sym, bool down) {
        XTestFakeDeviceKeyEvent(display_, device_, XKeysymToKeycode(display_, sym), down ? True : False,
                                nullptr, 0, 0);
        XSync(display_, False);
    }

  private:
    Display* display_;
    XDevice* device_ = nullptr;
};

struct CleanPostingTest : ::testing::Test {
    // Before the fixture's members: the clipboard needs the application.
    static void SetUpTestSuite() { testing::desktopApplication(); }

    void SetUp() override {
        if (!testing::desktopApplication()) GTEST_SKIP() << "another kind of application object exists";
        display = XOpenDisplay(nullptr);
        ASSERT_NE(display, nullptr);
        recorder.setProgram(RONDELIX_KEY_RECORDER);
        recorder.start();
        ASSERT_TRUE(recorder.waitForStarted(static_cast<int>(testing::patience * 1000)));
        ASSERT_TRUE(sees("ready"));
    }
    void TearDown() override {
        recorder.kill();
        recorder.waitForFinished(3000);
        if (display) XCloseDisplay(display);
    }

    bool sees(const QString& line) {
        return pumpUntil([&] {
                   while (recorder.canReadLine())
                       lines << QString::fromUtf8(recorder.readLine()).trimmed();
                   return lines.contains(line);
               }) ||
               (ADD_FAILURE() << qPrintable(lines.join(" | ")), false);
    }

    Display* display = nullptr;
    QProcess recorder;
    QStringList lines;
    platform::linux_desktop::QtMainQueue queue;
    platform::linux_desktop::QtPasteboard pasteboard;
    platform::sim::SimLog log;
    platform::sim::SimWorkspace workspace{queue};
    platform::sim::SimProcesses processes{queue};
    platform::sim::SimSounds sounds;
    platform::linux_desktop::X11EventTaps taps{queue, log};
    MacroExecutor executor{{queue, pasteboard, workspace, processes, taps, sounds, log}, {}};
};

TEST_F(CleanPostingTest,
       KeystrokesPastesAndMediaKeysArriveWithOnlyTheirOwnModifiersWhileTheSummonKeysAreHeld) {
    DesktopWatch desktop(display);
    UsersKeyboard hands(display);
    ASSERT_TRUE(hands.exists());
    pasteboard.writeText("clip");

    hands.key(XK_Alt_L, true);
    hands.key(XK_Super_L, true);
    ASSERT_TRUE(sees("press 0xffeb alt+super"));

    executor.fire(MacroAction::Keystroke{KeyCombo{.keyCode = 9, .primary = true}});
    ASSERT_TRUE(sees("text clip"));
    executor.fire(MacroAction::Text{"Hello"});
    ASSERT_TRUE(sees("text clipHello"));
    // Media keys too: desktops ignore Play with Alt and Super down.
    executor.fire(MacroAction::SystemAction{"media-playpause"});
    ASSERT_TRUE(sees("press 0x1008ff14 none"));

    // The user lets go; the keys come up as they were held.
    hands.key(XK_Super_L, false);
    hands.key(XK_Alt_L, false);
    ASSERT_TRUE(sees("release 0xffe9 none"));

    // A later stroke with Alt of its own still gets it.
    executor.fire(MacroAction::Keystroke{KeyCombo{.keyCode = 0, .primary = true, .alt = true}});
    ASSERT_TRUE(sees("press 0x61 ctrl+alt"));

    QStringList strokes = lines.filter("press 0x76");
    EXPECT_EQ(strokes, (QStringList{"press 0x76 ctrl", "press 0x76 ctrl"}));
    EXPECT_EQ(desktop.loneTaps(), 0);
}

// A summon's second key let go while the slice's stroke is posted, as a
// quick hand does: the program lifted it for the stroke and must not put it
// back, or it sticks down in every application.
TEST_F(CleanPostingTest, AModifierLetGoWhileAStrokeIsPostedIsNotPutBack) {
    UsersKeyboard hands(display);
    ASSERT_TRUE(hands.exists());
    const KeyCode alt = XKeysymToKeycode(display, XK_Alt_L);
    const auto altDown = [&] {
        char keys[32] = {};
        XQueryKeymap(display, keys);
        return (keys[alt / 8] & (1 << (alt % 8))) != 0;
    };
    for (const bool letGo : {false, true}) {
        SCOPED_TRACE(letGo ? "let go during the stroke" : "held through the stroke");
        hands.key(XK_Alt_L, true);
        ASSERT_TRUE(sees("press 0xffe9 alt"));
        lines.clear();
        taps.postKey(40, true, 0); // K
        ASSERT_TRUE(sees("press 0x6b none"));
        if (letGo) hands.key(XK_Alt_L, false);
        taps.postKey(40, false, 0);
        // A later key, posted after any putting back, shows when it is done.
        taps.postKey(0, true, 0);
        taps.postKey(0, false, 0);
        ASSERT_TRUE(sees("release 0x61 none"));
        XSync(display, False);
        EXPECT_EQ(altDown(), !letGo) << qPrintable(lines.join(" | "));
        if (!letGo) {
            hands.key(XK_Alt_L, false);
            ASSERT_TRUE(sees("release 0xffe9 none"));
        }
        EXPECT_FALSE(altDown());
    }
}

} // namespace
} // namespace rondelix

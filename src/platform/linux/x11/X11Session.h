#pragma once

#include "platform/EventTaps.h"
#include "platform/MainQueue.h"
#include "platform/linux/x11/X11InputDecoder.h"
#include "platform/linux/x11/X11ModifierLift.h"
#include "platform/linux/x11/X11PointerMark.h"
#include "platform/linux/x11/X11PostLedger.h"
#include "platform/linux/x11/X11ServerClock.h"

#include <array>
#include <atomic>
#include <deque>
#include <future>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <thread>
#include <utility>
#include <vector>

struct _XDisplay;
union _XEvent;

namespace rondelix::platform::linux_desktop {

// What a session tells the main thread, through the main queue. Each call
// carries the session's generation, so news from a replaced session can be
// told apart and dropped.
class X11SessionListener {
  public:
    virtual ~X11SessionListener() = default;

    virtual void rawEvent(int generation, const InputEvent& event) = 0;
    // A press with a serial waits, frozen, for sendVerdict(); serial 0 waits for nothing.
    virtual void grabbedEvent(int generation, std::uint64_t serial, const InputEvent& event) = 0;
    // A verdict took too long: the press went on and the grabs were lifted.
    virtual void verdictsTimedOut(int generation) = 0;
    // The grabs could not be renewed for a new device and were lifted.
    virtual void grabLost(int generation) = 0;
    virtual void connectionLost(int generation) = 0;
    // Call refreshKeyboardMap() on the session, from the main thread.
    virtual void keymapChanged(int generation) = 0;
    virtual void logLine(std::string line) = 0;
};

// One connection to the X server: a display read by a thread of its own,
// which alone grabs and answers grabbed events, and a display for the main
// thread's queries and posting.
class X11Session {
  public:
    static constexpr double verdictTimeLimit = 1.0;

    // Answers nothing, with the reason in `why`, when the display or one of
    // the extensions global input needs cannot be reached.
    static std::unique_ptr<X11Session> open(const std::string& displayName, std::string& why);
    ~X11Session();
    X11Session(const X11Session&) = delete;
    X11Session& operator=(const X11Session&) = delete;

    void start(MainQueue& queue, std::weak_ptr<X11SessionListener> listener, int generation);
    bool isLost() const { return lost_; }

    // Asks the reader thread to hold or lift the grabs; answers whether the
    // grabs are as asked.
    bool setGrab(bool on, EventMask interceptMask);
    void sendVerdict(std::uint64_t serial, bool pass);
    void setListenMask(EventMask mask);
    // The key, if the taps swallowed its press and it is still down, stays
    // held on its own when the grabs are next lifted, until it comes up.
    void withhold(std::uint16_t keyCode);
    // Any thread: the chords whose completing press marks the pointer.
    void setSummonChords(std::vector<KeyChord> chords);

    // Main thread: live state, in the system's key codes and buttons.
    bool isKeyDown(std::uint16_t keyCode);
    bool isButtonDown(int buttonNumber);
    std::uint64_t flagsState();
    // How far the pointer has moved since a moment of the main queue's
    // clock, in root window pixels (y downwards); nothing when it has not,
    // or when that cannot be told.
    std::pair<int, int> pointerTravelSince(double time);

    // Main thread: posting. 0 when the keyboard map has no such key.
    int postKeyCodeFor(std::uint16_t keyCode) const;
    int mediaKeyCodeFor(int keyType) const;
    // The modifier keys down now, and what one X key code sets (mask 0 for
    // keys that set none, and for the lock keys, which toggle).
    std::vector<ModifierKey> heldModifierKeys();
    ModifierKey modifierKeyFor(int xKeyCode) const;
    bool isXKeyDown(int xKeyCode);
    // Whether a keyboard other than the XTEST ones (where the program's own
    // posted keys are) holds the key down now: a hand's key, unlike the
    // server's merged state, which a posted release clears.
    bool isHeldOnAKeyboard(int xKeyCode);
    // A key code the keyboard map gives no symbol, so pressing it types and
    // triggers nothing; 0 when the map has none.
    int spareKeyCode() const { return spareKey_; }
    void fakeKey(int xKeyCode, bool press, bool expectGrabbedEcho);
    void flush();
    void refreshKeyboardMap();

  private:
    // The extra buttons the system numbers go up to X's button 36.
    static constexpr int lastGrabbedButton = 36;

    struct Command {
        enum class Kind { grab, verdict, withhold, stop };
        Kind kind;
        bool on = false;
        EventMask mask = 0;
        std::uint64_t serial = 0;
        bool pass = true;
        std::shared_ptr<std::promise<bool>> answer;
        std::uint16_t keyCode = 0;
    };

    // One key held on its own by a grab of that key on the window that had
    // the focus.
    struct Hold {
        int device;
        unsigned long window;
        // Outlives the grabs, asked for by withhold().
        bool kept = false;
    };

    struct Pending {
        int device;
        double deadline;
        int keyCode = 0; // X key code of a key press, else 0
        bool repeat = false;
    };

    struct Devices {
        std::set<int> xtest;
        std::vector<int> masterKeyboards;
        std::vector<int> masterPointers;
        std::map<int, std::string> names;
    };

    X11Session() : decoder_(ledger_) {}

    static Devices queryDevices(_XDisplay* display);
    void rebuildMaps();
    void send(Command command);
    void run();
    bool runCommands();
    void handle(_XEvent& event);
    void handleXi(int type, const void* data);
    void handleHierarchy(const void* data);
    void handleXkb(_XEvent& event);
    void rebuildDecoderMap();
    bool grab(bool on);
    void ungrabAll();
    void allow(int device, bool replay);
    void expireVerdicts();
    void swallowKey(int device, int xKeyCode, bool repeat);
    bool holdKeyboard(int device);
    void keyReleaseUnderGrab(int device, int xKeyCode);
    void holdAlone(int device, int xKeyCode);
    std::map<int, Hold>::iterator endHold(std::map<int, Hold>::iterator hold);
    void answerHold(int device, int xKeyCode, bool press);
    void heldKeyReleased(int xKeyCode);
    void grabOnRoot(int device, int xKeyCode);
    bool completesChord(std::uint16_t keyCode) const;
    void markPointer(int xiType, std::uint32_t serverTime, const InputEvent& event);
    void pollPointer();
    void toMain(std::function<void(X11SessionListener&)> step);
    static InputEvent onQueueClock(InputEvent event, double happened, const MainQueue& queue);
    void logOnMain(std::string line);

    // Shared by both threads.
    std::atomic<bool> lost_{false};
    std::atomic<EventMask> listenMask_{0};
    X11PostLedger ledger_;
    X11ServerClock serverClock_;
    X11PointerMark pointerMark_;
    mutable std::mutex chordsLock_;
    std::vector<KeyChord> chords_;
    std::mutex mutex_;
    std::deque<Command> commands_;
    int wakeFd_ = -1;
    std::thread reader_;
    std::weak_ptr<X11SessionListener> listener_;
    MainQueue* queue_ = nullptr;
    int generation_ = 0;
    bool evdev_ = false;

    // Main thread.
    _XDisplay* query_ = nullptr;
    X11InputDecoder::KeyMap keyMap_{};
    std::map<std::uint16_t, int> postKeys_;
    std::map<int, int> mediaKeys_;
    std::array<ModifierKey, 256> modifierKeys_{};
    int spareKey_ = 0;

    // Reader thread (set up before it starts).
    _XDisplay* input_ = nullptr;
    unsigned long root_ = 0;
    int xiOpcode_ = 0;
    int xkbEventBase_ = 0;
    X11InputDecoder decoder_;
    Devices devices_;
    unsigned xkbMods_ = 0;
    unsigned xkbGroup_ = 0;
    bool grabbed_ = false;
    bool reportedSharedGrabs_ = false;
    EventMask interceptMask_ = 0;
    std::map<std::uint64_t, Pending> pending_;
    std::uint64_t nextSerial_ = 0;
    // Keys whose press we swallowed and that are still down.
    std::set<int> swallowedDown_;
    // The keyboard our grab holds after a swallowed press (0 for none), and
    // the keys whose press it swallowed and whose release it is to take.
    int heldKeyboard_ = 0;
    std::set<int> keptDown_;
    // Keys held on their own, by X key code; the device whose key hold has
    // taken the keyboard (0 for none); the keys to be held on once the
    // grabs are lifted.
    std::map<int, Hold> holds_;
    int holdTaken_ = 0;
    std::set<int> withheld_;
    // Where the pointer was at the last look, and whether a raw move came
    // since: moves that no device reports (warps, absolute moves posted
    // through XTest) are found by looking.
    std::optional<std::pair<double, double>> pointerSeen_;
    bool rawMotionSeen_ = false;
    double nextPointerPoll_ = 0;
};

} // namespace rondelix::platform::linux_desktop

#pragma once

#include "platform/EventTaps.h"
#include "platform/MainQueue.h"
#include "util/LifetimeGuard.h"

#include <map>
#include <set>
#include <utility>
#include <vector>

namespace rondelix::platform::sim {

// Global input for tests. Injected events run through the taps newest
// first, as the system's taps are chained: an intercepting tap that
// swallows stops the event, listen-only taps only observe. Each tap keeps
// what it saw; events that got through all taps reach the applications.
// Injecting also updates the live key, button and flag state.
class SimEventTaps final : public EventTaps {
  public:
    struct Seen {
        InputEvent event;
        TapVerdict verdict;
    };

    // A posted event, as the program asked for it.
    struct Posted {
        enum class Kind { key, media };
        Kind kind;
        int code; // key code or media key type
        bool down;
        std::uint64_t flags;
    };

    // Posted events come back through the taps on the main queue, carrying
    // the marker, as the system delivers them.
    explicit SimEventTaps(MainQueue& queue);
    ~SimEventTaps() override;

    std::unique_ptr<EventTap> createTap(TapMode mode, EventMask mask, Callback callback) override;
    bool isKeyDown(std::uint16_t keyCode) const override;
    bool isButtonDown(int buttonNumber) const override;
    std::uint64_t flagsState() const override;
    Point pointerTravelSince(double time) const override;
    void setSummonChords(std::vector<KeyChord> chords) override { chords_ = std::move(chords); }
    // Key downs and the key up of a withheld key reach no application.
    void withholdUntilReleased(std::uint16_t keyCode) override;
    bool isSecureInputEnabled() const override { return secureInput_; }
    void postKey(std::uint16_t keyCode, bool down, std::uint64_t flags) override;
    void postMediaKey(int keyType, bool down) override;

    // Delivers one event now, stamped now unless it says when it happened.
    void inject(const InputEvent& event);
    // Delivers one event when the virtual clock reaches the given time.
    void injectAt(double time, const InputEvent& event);

    // Short hands for the usual events; each updates the live state. The
    // flags word is that of the modifiers held plus any extra bits given.
    void keyDown(std::uint16_t keyCode, std::uint64_t extraFlags = 0, bool autoRepeat = false);
    void keyUp(std::uint16_t keyCode, std::uint64_t extraFlags = 0);
    // A modifier key going down or up; the flags word follows from the keys held.
    void modifier(std::uint16_t keyCode, bool down);
    void buttonDown(int buttonNumber) { button(buttonNumber, true); }
    void buttonUp(int buttonNumber) { button(buttonNumber, false); }
    void mouseMoved();
    void scroll(double vertical, double horizontal);

    // The pointer moved by this much at that time, as the system remembers
    // its moves; where it is now is the screens' to say.
    void pointerMoved(Point by, double at) { travel_.push_back({at, by}); }

    // Live state set directly, as if the event that changed it was lost.
    void setKeyDown(std::uint16_t keyCode, bool down);
    void setButtonDown(int buttonNumber, bool down);
    void setSecureInput(bool on) { secureInput_ = on; }

    // The next createTap calls of this mode answer nothing.
    void failInstalls(TapMode mode, bool fail);

    // Switches the newest live tap of this mode off and sends it the notice.
    void disableTap(TapMode mode, EventType notice);

    // How many taps of this mode exist, and whether the newest is enabled.
    int tapCount(TapMode mode) const;
    bool isTapEnabled(TapMode mode) const;

    // What the newest live (or last removed) tap of this mode saw.
    std::vector<Seen> seenBy(TapMode mode) const;
    std::vector<InputEvent> swallowedBy(TapMode mode) const;

    const std::vector<InputEvent>& reachedApplications() const { return reached_; }
    const std::vector<Posted>& posted() const { return posted_; }
    const std::vector<KeyChord>& summonChords() const { return chords_; }
    void clearRecords();

  private:
    class Tap;
    struct TapRecord {
        int id;
        TapMode mode;
        EventMask mask;
        Callback callback;
        bool enabled = true;
        bool alive = true;
        std::vector<Seen> seen;
    };

    void button(int buttonNumber, bool down);
    void removeTap(int id);
    void setEnabled(int id, bool enabled);
    bool isEnabled(int id) const;
    TapRecord* newest(TapMode mode);
    const TapRecord* newest(TapMode mode) const;
    void track(const InputEvent& event);
    std::uint64_t modifierFlags() const;

    MainQueue& queue_;
    LifetimeGuard lifetime_;
    std::vector<TapRecord> taps_; // in creation order
    int nextId_ = 1;
    std::set<TapMode> failing_;
    std::set<std::uint16_t> keysDown_;
    std::set<int> buttonsDown_;
    bool capsLock_ = false;
    bool secureInput_ = false;
    std::vector<InputEvent> reached_;
    std::vector<Posted> posted_;
    std::vector<std::pair<double, Point>> travel_;
    std::vector<KeyChord> chords_;
    std::set<std::uint16_t> withheld_;
};

} // namespace rondelix::platform::sim

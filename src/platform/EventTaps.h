#pragma once

#include "platform/Geometry.h"
#include "platform/ModifierFlags.h"
#include "platform/MouseButton.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace rondelix::platform {

// Event types carry the system's own numbers, so that event masks read the
// same as the system's (bit n set = type n).
enum class EventType : std::uint32_t {
    null = 0,
    leftMouseDown = 1,
    leftMouseUp = 2,
    rightMouseDown = 3,
    rightMouseUp = 4,
    mouseMoved = 5,
    leftMouseDragged = 6,
    rightMouseDragged = 7,
    keyDown = 10,
    keyUp = 11,
    flagsChanged = 12,
    scrollWheel = 22,
    otherMouseDown = 25,
    otherMouseUp = 26,
    otherMouseDragged = 27,
    // Notices rather than input: the tap was switched off because its
    // handler answered too slowly, or because the system chose to.
    tapDisabledByTimeout = 0xFFFFFFFE,
    tapDisabledByUserInput = 0xFFFFFFFF,
};

using EventMask = std::uint64_t;

constexpr EventMask maskOf(EventType type) {
    const auto n = static_cast<std::uint32_t>(type);
    return n < 64 ? EventMask{1} << n : 0;
}

// Every event the program posts carries this value in its source user data
// (the letters RDXE), so that both taps can let it pass untouched.
inline constexpr std::uint32_t programEventMarker = 0x52445845;

// One global input event, in the system's key codes (macOS virtual key
// codes, which name key positions) and button numbers (0 left, 1 right,
// 2 middle, 3 and up the extra buttons).
struct InputEvent {
    EventType type = EventType::null;
    std::uint16_t keyCode = 0;        // 0 for mouse events
    bool autoRepeat = false;          // a key down repeated by holding the key
    std::int64_t buttonNumber = 0;    // mouse events only
    double scrollDeltaVertical = 0.0; // lines; positive = away from the user
    double scrollDeltaHorizontal = 0.0;
    std::uint64_t flags = 0;          // modifier state after this event
    std::uint32_t sourceUserData = 0; // programEventMarker on the program's own events
    std::u16string characters;        // what a key event types, at most 4 UTF-16 units
    // When it happened, on the main queue's clock: a busy program hears of
    // it later. None when the system does not say.
    std::optional<double> time;
};

// The type of a press or release of a mouse button, by the system's number.
constexpr EventType buttonEventType(std::int64_t buttonNumber, bool down) {
    if (buttonNumber == MouseButton::left) return down ? EventType::leftMouseDown : EventType::leftMouseUp;
    if (buttonNumber == MouseButton::right) return down ? EventType::rightMouseDown : EventType::rightMouseUp;
    return down ? EventType::otherMouseDown : EventType::otherMouseUp;
}

// The type of a pointer move: a drag while a button is held, named after the
// left, else the right, else any other button.
constexpr EventType moveEventType(bool leftDown, bool rightDown, bool anyDown) {
    if (leftDown) return EventType::leftMouseDragged;
    if (rightDown) return EventType::rightMouseDragged;
    return anyDown ? EventType::otherMouseDragged : EventType::mouseMoved;
}

enum class TapVerdict { pass, swallow };

// The keys and extra mouse buttons of one summon binding, held together.
struct KeyChord {
    std::vector<std::uint16_t> keyCodes;
    std::vector<int> buttonNumbers;
    friend bool operator==(const KeyChord&, const KeyChord&) = default;
};

enum class TapMode : std::uint32_t {
    intercepting = 0, // the handler's verdict decides whether the event goes on
    listenOnly = 1,   // the handler only observes; every event goes on
};

// A tap that exists; destroying it removes it, and no callback runs after.
class EventTap {
  public:
    virtual ~EventTap() = default;

    // The system may switch a tap off (see the notices above); it stays
    // installed and can be switched on again.
    virtual bool isEnabled() const = 0;
    virtual void setEnabled(bool enabled) = 0;
};

// Global input: taps over key, modifier, button, move and scroll events,
// the live state of keys and buttons, and posting events that carry the
// program's marker. Callbacks run on the main queue's thread.
class EventTaps {
  public:
    // Gets every event whose type is in the tap's mask, plus the disable
    // notices. A listen-only tap's verdict is ignored.
    using Callback = std::function<TapVerdict(const InputEvent&)>;

    virtual ~EventTaps() = default;

    // Creates an enabled tap ahead of the taps that exist. Answers nothing
    // when the system refuses (no access to global input).
    virtual std::unique_ptr<EventTap> createTap(TapMode mode, EventMask mask, Callback callback) = 0;

    // The live state of all keyboards and pointers together, regardless of
    // which events reached a tap.
    virtual bool isKeyDown(std::uint16_t keyCode) const = 0;
    virtual bool isButtonDown(int buttonNumber) const = 0;
    virtual std::uint64_t flagsState() const = 0;
    // How far the pointer has moved since a moment of the main queue's
    // clock, in the screen's device pixels, x to the right and y upwards;
    // nothing when it has not, or the system keeps no record of its moves
    // that far back. The record may start no earlier than the last key
    // press that completed a summon chord.
    virtual Point pointerTravelSince(double time) const = 0;

    // The summon bindings' chords, whose completing key press is the moment
    // pointerTravelSince must be able to reach back to.
    virtual void setSummonChords(std::vector<KeyChord> chords) = 0;

    // Keeps a key that is down now from every application until it comes
    // up: its repeats and its release go nowhere, and no other key is held
    // back meanwhile. A key that is up is left alone.
    virtual void withholdUntilReleased(std::uint16_t keyCode) = 0;

    // Whether another program is holding the keyboard for secure entry, so
    // that taps see no keys.
    virtual bool isSecureInputEnabled() const = 0;

    // Posts one key event (key down or key up) with exactly the given
    // modifier flags, marked as the program's own. A key code the system
    // cannot post is skipped and logged.
    virtual void postKey(std::uint16_t keyCode, bool down, std::uint64_t flags) = 0;

    // Posts one press or release of a media or brightness key, given by the
    // system's auxiliary key type (mediaKey below), marked as the program's own.
    virtual void postMediaKey(int keyType, bool down) = 0;
};

// The system's auxiliary key types that postMediaKey understands.
namespace MediaKey {
inline constexpr int soundUp = 0;
inline constexpr int soundDown = 1;
inline constexpr int brightnessUp = 2;
inline constexpr int brightnessDown = 3;
inline constexpr int mute = 7;
inline constexpr int play = 16;
inline constexpr int next = 17;
inline constexpr int previous = 18;
} // namespace MediaKey

} // namespace rondelix::platform

#pragma once

#include "platform/EventTaps.h"
#include "platform/linux/x11/X11PostLedger.h"

#include <array>
#include <bitset>
#include <functional>
#include <optional>
#include <set>

namespace rondelix::platform::linux_desktop {

// One input event as the X server reports it, stripped to what we read.
struct X11RawInput {
    enum class Kind { keyPress, keyRelease, buttonPress, buttonRelease, motion };
    Kind kind = Kind::motion;
    int detail = 0;       // X key code or X button number
    int sourceDevice = 0; // the physical (slave) device it came from
    bool repeat = false;  // the server marked a key press as a repeat
};

// Turns X input into the system's events: key positions into the system's
// key codes, X buttons into the system's button numbers and scroll deltas,
// held modifiers into the flags word with side bits, and echoes of our own
// posted keys into events that carry the program's marker.
//
// Raw events (every device's input, seen once whatever the grabs) keep the
// tracked state; events our grab takes arrive after their raw twin and read
// that state. Lives on the X reader thread.
class X11InputDecoder {
  public:
    using KeyMap = std::array<int, 256>; // X key code -> system key code, -1 unknown
    using Characters = std::function<std::u16string(int xKeyCode)>;
    using UnknownKey = std::function<void(int xKeyCode)>;

    explicit X11InputDecoder(X11PostLedger& ledger);

    // The key map for a server: by evdev position when its key codes are
    // evdev positions (X key code = evdev code + 8), else, and for positions
    // the table lacks, by the key's first keysym.
    static KeyMap makeKeyMap(bool evdevPositions, const std::function<std::uint32_t(int xKeyCode)>& keysymOf);

    void setKeyMap(const KeyMap& map) { keyMap_ = map; }
    void setXtestDevices(std::set<int> ids) { xtestDevices_ = std::move(ids); }
    void setCapsLock(bool on) { capsLock_ = on; }
    void setCharacters(Characters characters) { characters_ = std::move(characters); }
    // Told once per unknown X key code; such keys produce no event.
    void setUnknownKey(UnknownKey unknownKey) { unknownKey_ = std::move(unknownKey); }

    std::optional<InputEvent> decodeRaw(const X11RawInput& input, double now);
    std::optional<InputEvent> decodeGrabbed(const X11RawInput& input, double now);

    // Starts over from the keys the server says are down, after a device
    // went away with keys held.
    void resync(const std::set<int>& xKeyCodesDown);

    std::uint64_t flags() const;
    // Whether the raw events heard so far leave this key or button down.
    bool isKeyDown(std::uint16_t keyCode) const;
    bool isButtonDown(int buttonNumber) const {
        return buttonNumber >= 0 && buttonNumber < 256 &&
               buttonsDown_.test(static_cast<std::size_t>(buttonNumber));
    }
    // The system's key code for an X key code, or -1.
    int keyCodeFor(int xKeyCode) const;

  private:
    std::optional<InputEvent> decodeKey(const X11RawInput& input, double now, X11PostLedger::Channel channel);
    std::optional<InputEvent> decodeButton(const X11RawInput& input);
    void track(const X11RawInput& input);

    X11PostLedger& ledger_;
    KeyMap keyMap_;
    std::set<int> xtestDevices_;
    bool capsLock_ = false;
    Characters characters_;
    UnknownKey unknownKey_;
    std::bitset<256> keysDown_;      // by X key code
    std::bitset<128> modifiersDown_; // by system key code
    std::bitset<256> buttonsDown_;   // by system button number
    std::bitset<256> reportedUnknown_;
};

} // namespace rondelix::platform::linux_desktop

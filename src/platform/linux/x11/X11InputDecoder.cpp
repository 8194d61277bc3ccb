#include "platform/linux/x11/X11InputDecoder.h"

#include "platform/ModifierFlags.h"
#include "platform/linux/x11/X11KeyTable.h"

namespace rondelix::platform::linux_desktop {

namespace {

// X numbers the middle button 2 and the right one 3, then the four scroll
// directions, then the extra buttons from 8; the system numbers left 0,
// right 1, middle 2 and the extra buttons from 3.
int systemButton(int xButton) {
    switch (xButton) {
    case 1:
        return MouseButton::left;
    case 2:
        return MouseButton::middle;
    case 3:
        return MouseButton::right;
    default:
        return xButton >= 8 ? xButton - 5 : -1;
    }
}

} // namespace

X11InputDecoder::X11InputDecoder(X11PostLedger& ledger) : ledger_(ledger) {
    keyMap_.fill(-1);
}

X11InputDecoder::KeyMap X11InputDecoder::makeKeyMap(bool evdevPositions,
                                                    const std::function<std::uint32_t(int)>& keysymOf) {
    KeyMap map;
    map.fill(-1);
    for (int x = 8; x < 256; ++x) {
        std::optional<std::uint16_t> code;
        if (evdevPositions) code = X11KeyTable::keyCodeForEvdev(x - 8);
        if (!code && keysymOf) code = X11KeyTable::keyCodeForKeysym(keysymOf(x));
        if (code) map[static_cast<std::size_t>(x)] = *code;
    }
    return map;
}

int X11InputDecoder::keyCodeFor(int xKeyCode) const {
    return xKeyCode >= 0 && xKeyCode < 256 ? keyMap_[static_cast<std::size_t>(xKeyCode)] : -1;
}

std::uint64_t X11InputDecoder::flags() const {
    std::uint64_t flags = capsLock_ ? ModifierFlag::alphaShift : 0;
    for (const auto& m : modifierKeyFlags)
        if (modifiersDown_.test(m.keyCode)) flags |= m.group | m.side;
    return flags;
}

bool X11InputDecoder::isKeyDown(std::uint16_t keyCode) const {
    if (isModifierKeyCode(keyCode)) return modifiersDown_.test(keyCode);
    for (std::size_t x = 0; x < keysDown_.size(); ++x)
        if (keysDown_.test(x) && keyMap_[x] == keyCode) return true;
    return false;
}

void X11InputDecoder::track(const X11RawInput& input) {
    using Kind = X11RawInput::Kind;
    if (input.kind == Kind::keyPress || input.kind == Kind::keyRelease) {
        const bool down = input.kind == Kind::keyPress;
        const auto x = static_cast<std::size_t>(input.detail);
        keysDown_.set(x, down);
        const int code = keyCodeFor(input.detail);
        if (code >= 0 && isModifierKeyCode(code)) modifiersDown_.set(static_cast<std::size_t>(code), down);
    } else if (input.kind == Kind::buttonPress || input.kind == Kind::buttonRelease) {
        const int button = systemButton(input.detail);
        if (button >= 0) buttonsDown_.set(static_cast<std::size_t>(button), input.kind == Kind::buttonPress);
    }
}

void X11InputDecoder::resync(const std::set<int>& xKeyCodesDown) {
    keysDown_.reset();
    modifiersDown_.reset();
    for (const int x : xKeyCodesDown) {
        if (x < 0 || x >= 256) continue;
        keysDown_.set(static_cast<std::size_t>(x));
        const int code = keyCodeFor(x);
        if (code >= 0 && isModifierKeyCode(code)) modifiersDown_.set(static_cast<std::size_t>(code));
    }
}

std::optional<InputEvent> X11InputDecoder::decodeRaw(const X11RawInput& input, double now) {
    using Kind = X11RawInput::Kind;
    if (input.detail < 0 || input.detail >= 256) return std::nullopt;
    switch (input.kind) {
    case Kind::keyPress:
    case Kind::keyRelease: {
        // The server repeats held keys on its own, without raw events; a press
        // of a key already down is a repeat all the same.
        X11RawInput key = input;
        key.repeat = input.kind == Kind::keyPress && keysDown_.test(static_cast<std::size_t>(input.detail));
        track(input);
        return decodeKey(key, now, X11PostLedger::Channel::raw);
    }
    case Kind::buttonPress:
    case Kind::buttonRelease:
        track(input);
        return decodeButton(input);
    case Kind::motion:
        break;
    }
    InputEvent event;
    event.type = moveEventType(buttonsDown_.test(0), buttonsDown_.test(1), buttonsDown_.any());
    event.flags = flags();
    return event;
}

std::optional<InputEvent> X11InputDecoder::decodeGrabbed(const X11RawInput& input, double now) {
    using Kind = X11RawInput::Kind;
    if (input.detail < 0 || input.detail >= 256) return std::nullopt;
    switch (input.kind) {
    case Kind::keyPress:
    case Kind::keyRelease:
        return decodeKey(input, now, X11PostLedger::Channel::grabbed);
    case Kind::buttonPress:
    case Kind::buttonRelease:
        return decodeButton(input);
    case Kind::motion:
        break;
    }
    return std::nullopt;
}

std::optional<InputEvent> X11InputDecoder::decodeKey(const X11RawInput& input, double now,
                                                     X11PostLedger::Channel channel) {
    const int code = keyCodeFor(input.detail);
    if (code < 0) {
        const auto x = static_cast<std::size_t>(input.detail);
        if (!reportedUnknown_.test(x)) {
            reportedUnknown_.set(x);
            if (unknownKey_) unknownKey_(input.detail);
        }
        return std::nullopt;
    }
    const bool press = input.kind == X11RawInput::Kind::keyPress;
    InputEvent event;
    event.keyCode = static_cast<std::uint16_t>(code);
    event.flags = flags();
    if (isModifierKeyCode(code)) {
        event.type = EventType::flagsChanged;
    } else {
        event.type = press ? EventType::keyDown : EventType::keyUp;
        event.autoRepeat = press && input.repeat;
        if (characters_) event.characters = characters_(input.detail);
    }
    if (xtestDevices_.contains(input.sourceDevice) && ledger_.claim(channel, input.detail, press, now))
        event.sourceUserData = programEventMarker;
    return event;
}

std::optional<InputEvent> X11InputDecoder::decodeButton(const X11RawInput& input) {
    const bool press = input.kind == X11RawInput::Kind::buttonPress;
    InputEvent event;
    event.flags = flags();
    if (input.detail >= 4 && input.detail <= 7) {
        // One wheel notch is one line; the release of a notch means nothing.
        if (!press) return std::nullopt;
        event.type = EventType::scrollWheel;
        if (input.detail == 4) event.scrollDeltaVertical = 1.0;
        if (input.detail == 5) event.scrollDeltaVertical = -1.0;
        if (input.detail == 6) event.scrollDeltaHorizontal = 1.0;
        if (input.detail == 7) event.scrollDeltaHorizontal = -1.0;
        return event;
    }
    const int button = systemButton(input.detail);
    if (button < 0) return std::nullopt;
    event.buttonNumber = button;
    event.type = buttonEventType(button, press);
    return event;
}

} // namespace rondelix::platform::linux_desktop

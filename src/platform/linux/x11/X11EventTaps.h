#pragma once

#include "platform/EventTaps.h"
#include "platform/Log.h"
#include "platform/MainQueue.h"

#include <memory>
#include <string>

namespace rondelix::platform::linux_desktop {

// Global input on an X11 session.
//
// Listening: XInput2 raw key, button and motion events on the root window of
// every master device, so each physical event arrives once, whatever other
// programs grab. Listen-only taps see every event, including those an
// intercepting tap swallows.
//
// Intercepting: while an intercepting tap is enabled, synchronous passive
// grabs on every key and button of the root window, under every modifier
// state that another program (a window manager's shortcuts) has not grabbed
// first. Each press the grab takes waits, frozen, for the taps' verdict:
// passed presses are replayed to the application as if never grabbed. A
// swallowed key press keeps the grab until the key comes up, so that its
// release is swallowed too; meanwhile every key event waits for an answer,
// so that other presses can still be passed. A passed press, and the release
// of a key the application saw go down (the summon keys), can only reach it
// by ending the grab: then a key still down whose press was swallowed comes
// up in the application without its press. A swallowed button press keeps
// the grab until its release, and what arrives meanwhile cannot be replayed,
// so it is dropped. A verdict that takes longer than a second passes the
// press on, lifts the grabs and sends the taps the time-out notice, so a
// stalled main thread never freezes the user's keyboard.
//
// A key the taps swallowed that is still down when the keyboard goes back
// (the summon keys come up, or a press is passed on) is held on its own by
// a grab of that one key on the window with the focus, so that its repeats
// stay ours without a grab of the whole keyboard or a change of focus at
// each repeat; another key pressed meanwhile goes on to the application.
// The hold ends with the key's release, or with the intercepting taps
// unless they asked for the key to be withheld until released.
//
// Times: each event says when it happened, from the server's own stamp
// mapped onto the main queue's clock, so that a busy main thread still
// knows. Where the pointer was when a key that completes a summon chord
// last went down is kept until it first moves, so that its travel since a
// moment after can be told too. Callbacks go ahead of the main queue's
// ordinary work, so that a grabbed press never waits behind a redraw.
//
// Posting: XTest, with the program's own echoes recognised by the XTEST
// source device plus a ledger of what was just posted. Command is sent as
// Control, since Linux programs take their shortcuts on Control. The
// receiving program sees exactly the keystroke's modifiers: modifier keys
// the user still holds (the summon keys) are lifted around it and put back
// after, with a key that types nothing tapped around them, so that neither
// reads as a lone Alt or Super tap to the desktop.
//
// X events are read on a thread of their own; callbacks run on the main
// queue. A callback that throws is logged and its event goes on; when it is
// an intercepting tap's, the intercepting taps are switched off, so nothing
// stays grabbed. A lost connection switches every tap off (the user-input
// notice) and is logged; the next tap created or switched on connects again.
class X11EventTaps final : public EventTaps {
  public:
    // Connects on first use to the named display, the environment's when empty.
    X11EventTaps(MainQueue& queue, Log& log, std::string displayName = {});
    ~X11EventTaps() override;

    std::unique_ptr<EventTap> createTap(TapMode mode, EventMask mask, Callback callback) override;
    bool isKeyDown(std::uint16_t keyCode) const override;
    bool isButtonDown(int buttonNumber) const override;
    std::uint64_t flagsState() const override;
    Point pointerTravelSince(double time) const override;
    void setSummonChords(std::vector<KeyChord> chords) override;
    void withholdUntilReleased(std::uint16_t keyCode) override;
    bool isSecureInputEnabled() const override;
    void postKey(std::uint16_t keyCode, bool down, std::uint64_t flags) override;
    void postMediaKey(int keyType, bool down) override;

  private:
    struct Impl;
    friend class X11Tap;

    std::shared_ptr<Impl> impl_;
};

} // namespace rondelix::platform::linux_desktop

#include "platform/linux/x11/X11EventTaps.h"

#include "platform/linux/x11/X11Session.h"
#include "platform/linux/x11/X11TapChain.h"

#include <map>
#include <set>

namespace rondelix::platform::linux_desktop {

namespace {

constexpr EventMask motionTypes = maskOf(EventType::mouseMoved) | maskOf(EventType::leftMouseDragged) |
                                  maskOf(EventType::rightMouseDragged) | maskOf(EventType::otherMouseDragged);

} // namespace

struct X11EventTaps::Impl final : X11SessionListener, std::enable_shared_from_this<Impl> {
    Impl(MainQueue& queue, Log& log, std::string displayName)
        : queue(queue), log(log), displayName(std::move(displayName)) {
        chain.setOnFailure([this](TapMode mode, const std::string& what) { handlerFailed(mode, what); });
    }

    bool ensureSession();
    void dropSession();
    bool applyGrab();
    void updateListenMask();
    void removeTap(int id, TapMode mode);
    void setTapEnabled(int id, TapMode mode, bool enabled);
    bool isTapEnabled(int id) const;
    void fakeKey(int xKeyCode, bool press);
    void tapSpareKey();
    void releaseStaleRestores();
    void pressLifted(int posted, int xKeyCode, const std::vector<ModifierKey>& stroke);
    void releaseLifted(int posted, int xKeyCode);
    void handlerFailed(TapMode mode, const std::string& what);

    void rawEvent(int gen, const InputEvent& event) override;
    void grabbedEvent(int gen, std::uint64_t serial, const InputEvent& event) override;
    void verdictsTimedOut(int gen) override;
    void grabLost(int gen) override;
    void connectionLost(int gen) override;
    void keymapChanged(int gen) override;
    void logLine(std::string line) override { log.write(line); }

    MainQueue& queue;
    Log& log;
    std::string displayName;
    X11TapChain chain;
    std::unique_ptr<X11Session> session;
    int generation = 0;
    bool grabbing = false;
    std::string lastOpenFailure;
    // What each posted key down did with the modifiers, undone by its key up:
    // by key code, and media keys by their type below zero.
    std::map<int, ModifierLift> postedLifts;
    std::vector<KeyChord> summonChords;
    // Held keys put back through the XTEST device. It keeps them down after
    // the user lets go of the real key, and would then take the next press of
    // that key for a repeat and drop it; they are released there first.
    std::set<int> restoredKeys;
};

void X11EventTaps::Impl::pressLifted(int posted, int xKeyCode, const std::vector<ModifierKey>& stroke) {
    releaseStaleRestores();
    ModifierLift lift = planModifierLift(session->heldModifierKeys(), stroke);
    if (lift.breakTaps) tapSpareKey();
    for (const int m : lift.lift)
        fakeKey(m, false);
    for (const int m : lift.press)
        fakeKey(m, true);
    fakeKey(xKeyCode, true);
    postedLifts[posted] = std::move(lift);
}

void X11EventTaps::Impl::releaseLifted(int posted, int xKeyCode) {
    fakeKey(xKeyCode, false);
    const auto it = postedLifts.find(posted);
    if (it == postedLifts.end()) return;
    const ModifierLift& lift = it->second;
    for (auto m = lift.press.rbegin(); m != lift.press.rend(); ++m)
        fakeKey(*m, false);
    // Put back what the user's hands still hold; one they let go of while
    // the stroke was posted stays up, or it would stick down.
    for (const int m : lift.lift) {
        if (!session->isHeldOnAKeyboard(m)) continue;
        fakeKey(m, true);
        restoredKeys.insert(m);
    }
    if (lift.breakTaps) tapSpareKey();
    postedLifts.erase(it);
}

bool X11EventTaps::Impl::ensureSession() {
    if (session && session->isLost()) dropSession();
    if (session) return true;
    std::string why;
    session = X11Session::open(displayName, why);
    if (!session) {
        // Logged once per reason, as every rebuild of a tap comes back here.
        if (why != lastOpenFailure) log.write(why);
        lastOpenFailure = why;
        return false;
    }
    lastOpenFailure.clear();
    session->setSummonChords(summonChords);
    session->start(queue, weak_from_this(), ++generation);
    grabbing = false;
    updateListenMask();
    return true;
}

void X11EventTaps::Impl::dropSession() {
    session.reset();
    grabbing = false;
    postedLifts.clear();
    restoredKeys.clear();
    // Switched off by the system, as the owners are told: left off for
    // their rebuild, which reconnects, rather than handed on as input.
    chain.disableAll(TapMode::listenOnly, EventType::tapDisabledByUserInput);
    chain.disableAll(TapMode::intercepting, EventType::tapDisabledByUserInput);
}

bool X11EventTaps::Impl::applyGrab() {
    const EventMask mask = chain.enabledMask(TapMode::intercepting);
    const bool want = mask != 0;
    if (!session) return !want;
    const bool ok = session->setGrab(want, mask);
    grabbing = want && ok;
    return ok;
}

void X11EventTaps::Impl::updateListenMask() {
    // Raw moves also feed the intercepting taps, since moves are never grabbed.
    if (session)
        session->setListenMask(chain.enabledMask(TapMode::listenOnly) |
                               (chain.enabledMask(TapMode::intercepting) & motionTypes));
}

void X11EventTaps::Impl::removeTap(int id, TapMode mode) {
    chain.remove(id);
    if (mode == TapMode::intercepting) applyGrab();
    updateListenMask();
}

void X11EventTaps::Impl::setTapEnabled(int id, TapMode mode, bool enabled) {
    if (enabled && !ensureSession()) return;
    chain.setEnabled(id, enabled);
    if (mode == TapMode::intercepting && !applyGrab() && enabled) {
        chain.setEnabled(id, false);
        applyGrab();
    }
    updateListenMask();
}

bool X11EventTaps::Impl::isTapEnabled(int id) const {
    return session && !session->isLost() && chain.isEnabled(id);
}

void X11EventTaps::Impl::fakeKey(int xKeyCode, bool press) {
    session->fakeKey(xKeyCode, press, grabbing);
}

void X11EventTaps::Impl::tapSpareKey() {
    const int spare = session->spareKeyCode();
    if (spare == 0) return;
    fakeKey(spare, true);
    fakeKey(spare, false);
}

void X11EventTaps::Impl::releaseStaleRestores() {
    for (auto it = restoredKeys.begin(); it != restoredKeys.end();) {
        if (session->isXKeyDown(*it)) {
            ++it;
            continue;
        }
        // The server ignores this release for everyone but the XTEST device.
        session->fakeKey(*it, false, false);
        it = restoredKeys.erase(it);
    }
}

void X11EventTaps::Impl::handlerFailed(TapMode mode, const std::string& what) {
    // A failed intercepting tap must not keep the input grabbed.
    if (mode == TapMode::listenOnly) {
        log.write("a listening tap's handler failed (" + what + "); the event went on.");
        return;
    }
    log.write("an intercepting tap's handler failed (" + what +
              "); the event went on and the intercepting taps were switched off.");
    chain.disableAll(TapMode::intercepting, EventType::tapDisabledByUserInput);
    applyGrab();
    updateListenMask();
}

void X11EventTaps::Impl::rawEvent(int gen, const InputEvent& event) {
    if (gen != generation) return;
    if (maskOf(event.type) & motionTypes) chain.deliver(TapMode::intercepting, event);
    chain.deliver(TapMode::listenOnly, event);
}

void X11EventTaps::Impl::grabbedEvent(int gen, std::uint64_t serial, const InputEvent& event) {
    if (gen != generation) return;
    const TapVerdict verdict = chain.deliver(TapMode::intercepting, event);
    // A callback may have lost and replaced the session meanwhile; the new
    // one numbers its presses afresh, so this answer is not for it.
    if (session && gen == generation) session->sendVerdict(serial, verdict == TapVerdict::pass);
}

void X11EventTaps::Impl::verdictsTimedOut(int gen) {
    if (gen != generation) return;
    log.write("an intercepting tap answered too slowly; its grab was lifted.");
    grabbing = false;
    chain.disableAll(TapMode::intercepting, EventType::tapDisabledByTimeout);
    updateListenMask();
}

void X11EventTaps::Impl::grabLost(int gen) {
    if (gen != generation) return;
    grabbing = false;
    chain.disableAll(TapMode::intercepting, EventType::tapDisabledByUserInput);
    updateListenMask();
}

void X11EventTaps::Impl::connectionLost(int gen) {
    if (gen != generation) return;
    log.write("lost the connection to the X server; global input taps are off until it comes back.");
    dropSession();
}

void X11EventTaps::Impl::keymapChanged(int gen) {
    if (gen == generation && session) session->refreshKeyboardMap();
}

class X11Tap final : public EventTap {
  public:
    X11Tap(std::weak_ptr<X11EventTaps::Impl> impl, int id, TapMode mode)
        : impl_(std::move(impl)), id_(id), mode_(mode) {}
    ~X11Tap() override {
        if (const auto impl = impl_.lock()) impl->removeTap(id_, mode_);
    }
    bool isEnabled() const override {
        const auto impl = impl_.lock();
        return impl && impl->isTapEnabled(id_);
    }
    void setEnabled(bool enabled) override {
        if (const auto impl = impl_.lock()) impl->setTapEnabled(id_, mode_, enabled);
    }

  private:
    std::weak_ptr<X11EventTaps::Impl> impl_;
    int id_;
    TapMode mode_;
};

X11EventTaps::X11EventTaps(MainQueue& queue, Log& log, std::string displayName)
    : impl_(std::make_shared<Impl>(queue, log, std::move(displayName))) {}

X11EventTaps::~X11EventTaps() {
    impl_->session.reset();
}

std::unique_ptr<EventTap> X11EventTaps::createTap(TapMode mode, EventMask mask, Callback callback) {
    if (!impl_->ensureSession()) return nullptr;
    const int id = impl_->chain.add(mode, mask, std::move(callback));
    if (mode == TapMode::intercepting && !impl_->applyGrab()) {
        impl_->chain.remove(id);
        impl_->applyGrab();
        return nullptr;
    }
    impl_->updateListenMask();
    return std::make_unique<X11Tap>(impl_, id, mode);
}

bool X11EventTaps::isKeyDown(std::uint16_t keyCode) const {
    return impl_->session && impl_->session->isKeyDown(keyCode);
}

bool X11EventTaps::isButtonDown(int buttonNumber) const {
    return impl_->session && impl_->session->isButtonDown(buttonNumber);
}

std::uint64_t X11EventTaps::flagsState() const {
    return impl_->session ? impl_->session->flagsState() : 0;
}

Point X11EventTaps::pointerTravelSince(double time) const {
    if (!impl_->session) return {};
    const auto [x, y] = impl_->session->pointerTravelSince(time);
    return {static_cast<double>(x), static_cast<double>(-y)};
}

void X11EventTaps::setSummonChords(std::vector<KeyChord> chords) {
    impl_->summonChords = std::move(chords);
    if (impl_->session) impl_->session->setSummonChords(impl_->summonChords);
}

void X11EventTaps::withholdUntilReleased(std::uint16_t keyCode) {
    if (impl_->session) impl_->session->withhold(keyCode);
}

bool X11EventTaps::isSecureInputEnabled() const {
    // X has no secure entry that hides keys from raw listeners: a program
    // that grabs the keyboard for a password still leaves raw events flowing.
    return false;
}

void X11EventTaps::postKey(std::uint16_t keyCode, bool down, std::uint64_t flags) {
    if (!impl_->ensureSession()) return;
    X11Session& session = *impl_->session;
    const int x = session.postKeyCodeFor(keyCode);
    if (x == 0) {
        impl_->log.write("no key on this keyboard map for key code " + std::to_string(keyCode) +
                         "; not posted.");
        return;
    }
    if (down) {
        // X events carry no flags: the modifiers are keys, pressed around
        // the key. Command goes out as Control; the left Command key's own
        // bit asks for the Super key itself.
        std::vector<ModifierKey> stroke;
        auto add = [&](std::uint16_t code) {
            const int m = session.postKeyCodeFor(code);
            const ModifierKey key = session.modifierKeyFor(m);
            if (m != 0 && m != x && key.mask != 0) stroke.push_back(key);
        };
        if (flags & (ModifierFlag::command | ModifierFlag::control)) add(ModifierKeyCode::leftControl);
        if (flags & ModifierFlag::shift) add(ModifierKeyCode::leftShift);
        if (flags & ModifierFlag::option) add(ModifierKeyCode::leftOption);
        if (flags & ModifierFlag::leftCommand) add(ModifierKeyCode::leftCommand);
        impl_->pressLifted(keyCode, x, stroke);
    } else {
        impl_->releaseLifted(keyCode, x);
    }
    session.flush();
}

void X11EventTaps::postMediaKey(int keyType, bool down) {
    if (!impl_->ensureSession()) return;
    X11Session& session = *impl_->session;
    const int x = session.mediaKeyCodeFor(keyType);
    if (x == 0) {
        impl_->log.write("no key on this keyboard map for media key " + std::to_string(keyType) +
                         "; not posted.");
        return;
    }
    // Desktops act on media keys only with no modifier down: the summon
    // keys still held are lifted around them as around any keystroke.
    const int posted = -1 - keyType;
    if (down)
        impl_->pressLifted(posted, x, {});
    else
        impl_->releaseLifted(posted, x);
    session.flush();
}

} // namespace rondelix::platform::linux_desktop

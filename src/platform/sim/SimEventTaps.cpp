#include "platform/sim/SimEventTaps.h"

#include "platform/ModifierFlags.h"

#include <algorithm>

namespace rondelix::platform::sim {

namespace {

constexpr std::uint64_t allSideBits = ModifierFlag::leftControl | ModifierFlag::leftShift |
                                      ModifierFlag::rightShift | ModifierFlag::leftCommand |
                                      ModifierFlag::rightCommand | ModifierFlag::leftOption |
                                      ModifierFlag::rightOption | ModifierFlag::rightControl;

} // namespace

class SimEventTaps::Tap final : public EventTap {
  public:
    Tap(SimEventTaps& owner, LifetimeGuard::Watch ownerAlive, int id)
        : owner_(owner), ownerAlive_(std::move(ownerAlive)), id_(id) {}
    ~Tap() override {
        if (ownerAlive_) owner_.removeTap(id_);
    }
    bool isEnabled() const override { return ownerAlive_ && owner_.isEnabled(id_); }
    void setEnabled(bool enabled) override {
        if (ownerAlive_) owner_.setEnabled(id_, enabled);
    }

  private:
    SimEventTaps& owner_;
    LifetimeGuard::Watch ownerAlive_;
    int id_;
};

SimEventTaps::SimEventTaps(MainQueue& queue) : queue_(queue) {}

SimEventTaps::~SimEventTaps() {
    lifetime_.end();
}

std::unique_ptr<EventTap> SimEventTaps::createTap(TapMode mode, EventMask mask, Callback callback) {
    if (failing_.contains(mode)) return nullptr;
    const int id = nextId_++;
    taps_.push_back({id, mode, mask, std::move(callback)});
    return std::make_unique<Tap>(*this, lifetime_.watch(), id);
}

void SimEventTaps::removeTap(int id) {
    for (auto& t : taps_)
        if (t.id == id) t.alive = false;
}

void SimEventTaps::setEnabled(int id, bool enabled) {
    for (auto& t : taps_)
        if (t.id == id && t.alive) t.enabled = enabled;
}

bool SimEventTaps::isEnabled(int id) const {
    for (const auto& t : taps_)
        if (t.id == id) return t.alive && t.enabled;
    return false;
}

bool SimEventTaps::isKeyDown(std::uint16_t keyCode) const {
    return keysDown_.contains(keyCode);
}

bool SimEventTaps::isButtonDown(int buttonNumber) const {
    return buttonsDown_.contains(buttonNumber);
}

std::uint64_t SimEventTaps::modifierFlags() const {
    std::uint64_t flags = capsLock_ ? ModifierFlag::alphaShift : 0;
    for (const auto& m : modifierKeyFlags)
        if (keysDown_.contains(m.keyCode)) flags |= m.group | m.side;
    return flags;
}

std::uint64_t SimEventTaps::flagsState() const {
    return modifierFlags();
}

void SimEventTaps::track(const InputEvent& event) {
    switch (event.type) {
    case EventType::keyDown:
        keysDown_.insert(event.keyCode);
        break;
    case EventType::keyUp:
        keysDown_.erase(event.keyCode);
        break;
    case EventType::flagsChanged:
        if (event.keyCode == ModifierKeyCode::capsLock) {
            capsLock_ = (event.flags & ModifierFlag::alphaShift) != 0;
        } else if (const auto* m = modifierKeyFlagsFor(event.keyCode)) {
            // Posted events carry the group bits alone; then the group decides.
            const bool sides = (event.flags & allSideBits) != 0;
            const std::uint64_t bit = m->side && sides ? m->side : m->group;
            if (event.flags & bit)
                keysDown_.insert(event.keyCode);
            else
                keysDown_.erase(event.keyCode);
        }
        break;
    case EventType::leftMouseDown:
    case EventType::rightMouseDown:
    case EventType::otherMouseDown:
        buttonsDown_.insert(static_cast<int>(event.buttonNumber));
        break;
    case EventType::leftMouseUp:
    case EventType::rightMouseUp:
    case EventType::otherMouseUp:
        buttonsDown_.erase(static_cast<int>(event.buttonNumber));
        break;
    default:
        break;
    }
}

Point SimEventTaps::pointerTravelSince(double time) const {
    Point sum;
    for (const auto& [at, by] : travel_)
        if (at > time) sum = {sum.x + by.x, sum.y + by.y};
    return sum;
}

void SimEventTaps::inject(const InputEvent& given) {
    InputEvent event = given;
    if (!event.time) event.time = queue_.now();
    track(event);

    // Taps created or removed by a callback during this delivery do not see
    // this event, or stop seeing it, as with the system's own chain.
    std::vector<int> order;
    for (auto it = taps_.rbegin(); it != taps_.rend(); ++it)
        if (it->alive) order.push_back(it->id);

    const EventMask bit = maskOf(event.type);
    for (const int id : order) {
        auto find = [&] {
            return std::find_if(taps_.begin(), taps_.end(), [id](const auto& t) { return t.id == id; });
        };
        auto tap = find();
        if (!tap->alive || !tap->enabled || (tap->mask & bit) == 0) continue;
        const TapMode mode = tap->mode;
        const Callback callback = tap->callback;
        TapVerdict verdict = callback ? callback(event) : TapVerdict::swallow;
        if (mode == TapMode::listenOnly) verdict = TapVerdict::pass;
        find()->seen.push_back({event, verdict});
        if (verdict == TapVerdict::swallow) return;
    }
    const bool key = event.type == EventType::keyDown || event.type == EventType::keyUp;
    if (key && withheld_.contains(event.keyCode)) {
        if (event.type == EventType::keyUp) withheld_.erase(event.keyCode);
        return;
    }
    reached_.push_back(event);
}

void SimEventTaps::withholdUntilReleased(std::uint16_t keyCode) {
    if (keysDown_.contains(keyCode)) withheld_.insert(keyCode);
}

void SimEventTaps::injectAt(double time, const InputEvent& event) {
    queue_.after(time - queue_.now(), [this, alive = lifetime_.watch(), event] {
        if (alive) inject(event);
    });
}

void SimEventTaps::keyDown(std::uint16_t keyCode, std::uint64_t extraFlags, bool autoRepeat) {
    InputEvent e;
    e.type = EventType::keyDown;
    e.keyCode = keyCode;
    e.autoRepeat = autoRepeat;
    e.flags = modifierFlags() | extraFlags;
    inject(e);
}

void SimEventTaps::keyUp(std::uint16_t keyCode, std::uint64_t extraFlags) {
    InputEvent e;
    e.type = EventType::keyUp;
    e.keyCode = keyCode;
    e.flags = modifierFlags() | extraFlags;
    inject(e);
}

void SimEventTaps::modifier(std::uint16_t keyCode, bool down) {
    std::set<std::uint16_t> after = keysDown_;
    bool caps = capsLock_;
    if (keyCode == ModifierKeyCode::capsLock) {
        if (down) caps = !caps;
    } else if (down) {
        after.insert(keyCode);
    } else {
        after.erase(keyCode);
    }
    std::uint64_t flags = caps ? ModifierFlag::alphaShift : 0;
    for (const auto& m : modifierKeyFlags)
        if (after.contains(m.keyCode)) flags |= m.group | m.side;
    InputEvent e;
    e.type = EventType::flagsChanged;
    e.keyCode = keyCode;
    e.flags = flags;
    inject(e);
}

void SimEventTaps::button(int buttonNumber, bool down) {
    InputEvent e;
    e.type = buttonEventType(buttonNumber, down);
    e.buttonNumber = buttonNumber;
    e.flags = modifierFlags();
    inject(e);
}

void SimEventTaps::mouseMoved() {
    InputEvent e;
    e.type = moveEventType(buttonsDown_.contains(0), buttonsDown_.contains(1), !buttonsDown_.empty());
    e.flags = modifierFlags();
    inject(e);
}

void SimEventTaps::scroll(double vertical, double horizontal) {
    InputEvent e;
    e.type = EventType::scrollWheel;
    e.scrollDeltaVertical = vertical;
    e.scrollDeltaHorizontal = horizontal;
    e.flags = modifierFlags();
    inject(e);
}

void SimEventTaps::setKeyDown(std::uint16_t keyCode, bool down) {
    if (down)
        keysDown_.insert(keyCode);
    else
        keysDown_.erase(keyCode);
}

void SimEventTaps::setButtonDown(int buttonNumber, bool down) {
    if (down)
        buttonsDown_.insert(buttonNumber);
    else
        buttonsDown_.erase(buttonNumber);
}

void SimEventTaps::postKey(std::uint16_t keyCode, bool down, std::uint64_t flags) {
    posted_.push_back({Posted::Kind::key, keyCode, down, flags});
    InputEvent e;
    e.type = isModifierKeyCode(keyCode) ? EventType::flagsChanged
             : down                     ? EventType::keyDown
                                        : EventType::keyUp;
    e.keyCode = keyCode;
    e.flags = flags;
    e.sourceUserData = programEventMarker;
    queue_.post([this, alive = lifetime_.watch(), e] {
        if (alive) inject(e);
    });
}

void SimEventTaps::postMediaKey(int keyType, bool down) {
    // Media keys are system-defined events, which no tap of ours watches.
    posted_.push_back({Posted::Kind::media, keyType, down, 0});
}

void SimEventTaps::failInstalls(TapMode mode, bool fail) {
    if (fail)
        failing_.insert(mode);
    else
        failing_.erase(mode);
}

SimEventTaps::TapRecord* SimEventTaps::newest(TapMode mode) {
    for (auto it = taps_.rbegin(); it != taps_.rend(); ++it)
        if (it->mode == mode && it->alive) return &*it;
    return nullptr;
}

const SimEventTaps::TapRecord* SimEventTaps::newest(TapMode mode) const {
    return const_cast<SimEventTaps*>(this)->newest(mode);
}

void SimEventTaps::disableTap(TapMode mode, EventType notice) {
    TapRecord* tap = newest(mode);
    if (!tap) return;
    tap->enabled = false;
    const Callback callback = tap->callback;
    InputEvent e;
    e.type = notice;
    if (callback) callback(e);
}

int SimEventTaps::tapCount(TapMode mode) const {
    return static_cast<int>(std::count_if(taps_.begin(), taps_.end(),
                                          [mode](const auto& t) { return t.alive && t.mode == mode; }));
}

bool SimEventTaps::isTapEnabled(TapMode mode) const {
    const TapRecord* tap = newest(mode);
    return tap && tap->enabled;
}

std::vector<SimEventTaps::Seen> SimEventTaps::seenBy(TapMode mode) const {
    if (const TapRecord* tap = newest(mode)) return tap->seen;
    for (auto it = taps_.rbegin(); it != taps_.rend(); ++it)
        if (it->mode == mode) return it->seen;
    return {};
}

std::vector<InputEvent> SimEventTaps::swallowedBy(TapMode mode) const {
    std::vector<InputEvent> out;
    for (const auto& s : seenBy(mode))
        if (s.verdict == TapVerdict::swallow) out.push_back(s.event);
    return out;
}

void SimEventTaps::clearRecords() {
    for (auto& t : taps_)
        t.seen.clear();
    reached_.clear();
    posted_.clear();
}

} // namespace rondelix::platform::sim

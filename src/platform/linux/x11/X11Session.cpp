#include "platform/linux/x11/X11Session.h"

#include "platform/ModifierFlags.h"
#include "platform/linux/x11/X11Display.h"
#include "platform/linux/x11/X11KeyTable.h"

#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#include <X11/extensions/XInput.h>
#include <X11/extensions/XInput2.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>
#include <algorithm>
#include <cstring>
#include <functional>
#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>
#include <xkbcommon/xkbcommon.h>

namespace rondelix::platform::linux_desktop {

using X11Display::monotonicSeconds;

namespace {

struct MediaKeysym {
    int keyType;
    KeySym keysym;
};

constexpr MediaKeysym mediaKeysyms[] = {
    {MediaKey::soundUp, 0x1008ff13},      {MediaKey::soundDown, 0x1008ff11},
    {MediaKey::brightnessUp, 0x1008ff02}, {MediaKey::brightnessDown, 0x1008ff03},
    {MediaKey::mute, 0x1008ff12},         {MediaKey::play, 0x1008ff14},
    {MediaKey::next, 0x1008ff17},         {MediaKey::previous, 0x1008ff16},
};

// Control turns the characters from @ to _ and from a to z into control
// characters, as the system reports them with Control held.
std::uint32_t withControl(std::uint32_t c) {
    if (c == '?') return 0x7f;
    if ((c >= '@' && c <= '_') || (c >= 'a' && c <= 'z')) return c & 0x1f;
    return c;
}

std::u16string utf16(std::uint32_t c) {
    if (c == 0) return {};
    if (c < 0x10000) return std::u16string(1, static_cast<char16_t>(c));
    c -= 0x10000;
    return {static_cast<char16_t>(0xd800 + (c >> 10)), static_cast<char16_t>(0xdc00 + (c & 0x3ff))};
}

// The keysyms of the current keyboard map, read fresh from the server.
class KeysymMap {
  public:
    explicit KeysymMap(Display* display) : desc_(XkbGetMap(display, XkbAllClientInfoMask, XkbUseCoreKbd)) {}
    ~KeysymMap() {
        if (desc_) XkbFreeKeyboard(desc_, 0, True);
    }
    KeysymMap(const KeysymMap&) = delete;
    KeysymMap& operator=(const KeysymMap&) = delete;

    std::uint32_t firstKeysym(int x) const {
        if (!desc_ || x < desc_->min_key_code || x > desc_->max_key_code) return 0;
        if (XkbKeyNumSyms(desc_, x) == 0) return 0;
        return static_cast<std::uint32_t>(XkbKeySymEntry(desc_, x, 0, 0));
    }

    // The first key code whose first keysym is this one, or 0.
    int keyCodeFor(KeySym keysym) const {
        for (int x = 8; x < 256; ++x)
            if (firstKeysym(x) == keysym) return x;
        return 0;
    }

    bool hasKey(int x) const { return desc_ && x >= desc_->min_key_code && x <= desc_->max_key_code; }

  private:
    XkbDescPtr desc_;
};

using ModifierKeys = std::array<ModifierKey, 256>;

bool isTapSensitive(KeySym keysym) {
    switch (keysym) {
    case XK_Alt_L:
    case XK_Alt_R:
    case XK_Meta_L:
    case XK_Meta_R:
    case XK_Super_L:
    case XK_Super_R:
    case XK_Hyper_L:
    case XK_Hyper_R:
        return true;
    default:
        return false;
    }
}

// The held kind of modifier of every key code: Caps Lock, Shift Lock and Num
// Lock set modifiers too, but they toggle rather than being held.
ModifierKeys modifierKeys(Display* display, const KeysymMap& keysyms) {
    ModifierKeys keys{};
    XModifierKeymap* map = XGetModifierMapping(display);
    if (!map) return keys;
    for (int modifier = 0; modifier < 8; ++modifier) {
        if (modifier == LockMapIndex) continue;
        for (int i = 0; i < map->max_keypermod; ++i) {
            const int x = map->modifiermap[modifier * map->max_keypermod + i];
            if (x <= 0 || x > 255) continue;
            const KeySym keysym = keysyms.firstKeysym(x);
            if (keysym == XK_Num_Lock || keysym == XK_Caps_Lock || keysym == XK_Shift_Lock) continue;
            auto& key = keys[static_cast<std::size_t>(x)];
            key = {x, key.mask | (1u << modifier), isTapSensitive(keysym)};
        }
    }
    XFreeModifiermap(map);
    return keys;
}

// The highest key code the map knows but gives no symbol.
int unusedKeyCode(const KeysymMap& keysyms, const ModifierKeys& modifiers) {
    for (int x = 255; x >= 8; --x)
        if (keysyms.hasKey(x) && keysyms.firstKeysym(x) == 0 &&
            modifiers[static_cast<std::size_t>(x)].mask == 0)
            return x;
    return 0;
}

bool keyCodesAreEvdev(Display* display) {
    XkbDescPtr desc = XkbAllocKeyboard();
    if (!desc) return false;
    bool evdev = false;
    if (XkbGetNames(display, XkbKeycodesNameMask, desc) == Success && desc->names && desc->names->keycodes) {
        if (char* name = XGetAtomName(display, desc->names->keycodes)) {
            evdev = std::strncmp(name, "evdev", 5) == 0;
            XFree(name);
        }
    }
    XkbFreeKeyboard(desc, 0, True);
    return evdev;
}

std::set<int> keysDown(Display* display) {
    char bits[32] = {};
    XQueryKeymap(display, bits);
    std::set<int> down;
    for (int x = 0; x < 256; ++x)
        if (bits[x / 8] & (1 << (x % 8))) down.insert(x);
    return down;
}

X11RawInput::Kind kindOf(int xiType) {
    switch (xiType) {
    case XI_RawKeyPress:
    case XI_KeyPress:
        return X11RawInput::Kind::keyPress;
    case XI_RawKeyRelease:
    case XI_KeyRelease:
        return X11RawInput::Kind::keyRelease;
    case XI_RawButtonPress:
    case XI_ButtonPress:
        return X11RawInput::Kind::buttonPress;
    case XI_RawButtonRelease:
    case XI_ButtonRelease:
        return X11RawInput::Kind::buttonRelease;
    default:
        return X11RawInput::Kind::motion;
    }
}

// What grabbing left to another program's grabs, and what the server refused.
struct SharedGrabs {
    int leftToOthers = 0;
    int errors = 0;
    SharedGrabs& operator+=(const SharedGrabs& other) {
        leftToOthers += other.leftToOthers;
        errors += other.errors;
        return *this;
    }
};

constexpr double pointerPollInterval = 0.015;

using EventBits = std::array<unsigned char, XIMaskLen(XI_LASTEVENT)>;

// What our keyboard grabs take. While a grab of ours is active the server
// hands the raw events of its device to the grab alone, and drops those its
// mask does not name: without them the listening taps would miss what
// happens meanwhile.
EventBits keyGrabBits() {
    EventBits bits{};
    XISetMask(bits.data(), XI_KeyPress);
    XISetMask(bits.data(), XI_KeyRelease);
    XISetMask(bits.data(), XI_RawKeyPress);
    XISetMask(bits.data(), XI_RawKeyRelease);
    return bits;
}

// Every state of the eight core modifiers.
std::vector<XIGrabModifiers> everyModifierState() {
    std::vector<XIGrabModifiers> states(256);
    for (int m = 0; m < 256; ++m)
        states[static_cast<std::size_t>(m)] = {m, 0};
    return states;
}

// Grabs every key code or button, under every modifier state another
// program has not grabbed first. One grab of them all fails as a whole when
// another program holds any of them (a window manager's shortcuts, through
// XInput 2), so then each is grabbed on its own: under any state if it can
// be, else under the states left free. `grab` answers how many of the given
// states failed, or a negative number when the server refused the request.
SharedGrabs grabLeftFree(const std::function<int(int, XIGrabModifiers*, int)>& grab, int any, int first,
                         int last) {
    SharedGrabs result;
    XIGrabModifiers anyState{static_cast<int>(XIAnyModifier), 0};
    const int all = grab(any, &anyState, 1);
    if (all == 0) return result;
    if (all < 0) {
        ++result.errors;
        return result;
    }
    for (int detail = first; detail <= last; ++detail) {
        XIGrabModifiers oneAnyState{static_cast<int>(XIAnyModifier), 0};
        const int failed = grab(detail, &oneAnyState, 1);
        if (failed == 0) continue;
        if (failed < 0) {
            ++result.errors;
            continue;
        }
        std::vector<XIGrabModifiers> states = everyModifierState();
        const int taken = grab(detail, states.data(), static_cast<int>(states.size()));
        if (taken < 0)
            ++result.errors;
        else
            result.leftToOthers += taken;
    }
    return result;
}

} // namespace

X11Session::Devices X11Session::queryDevices(Display* display) {
    Devices devices;
    int count = 0;
    XIDeviceInfo* info = XIQueryDevice(display, XIAllDevices, &count);
    for (int i = 0; i < count; ++i) {
        const std::string name = info[i].name ? info[i].name : "";
        devices.names[info[i].deviceid] = name;
        if (info[i].use == XIMasterKeyboard) devices.masterKeyboards.push_back(info[i].deviceid);
        if (info[i].use == XIMasterPointer) devices.masterPointers.push_back(info[i].deviceid);
        const bool slave = info[i].use == XISlaveKeyboard || info[i].use == XISlavePointer;
        if (slave && (name.ends_with("XTEST keyboard") || name.ends_with("XTEST pointer")))
            devices.xtest.insert(info[i].deviceid);
    }
    if (info) XIFreeDeviceInfo(info);
    return devices;
}

std::unique_ptr<X11Session> X11Session::open(const std::string& name, std::string& why) {
    std::unique_ptr<X11Session> s(new X11Session);
    s->input_ = X11Display::open(name, &s->lost_);
    if (!s->input_) {
        why = X11Display::whyUnreachable(name);
        return nullptr;
    }
    s->query_ = X11Display::open(name, &s->lost_);
    if (!s->query_) {
        why = X11Display::whyUnreachable(name);
        return nullptr;
    }
    int event = 0, error = 0;
    int major = 2, minor = 2;
    if (!XQueryExtension(s->input_, "XInputExtension", &s->xiOpcode_, &event, &error) ||
        XIQueryVersion(s->input_, &major, &minor) != Success || major < 2 || (major == 2 && minor < 1)) {
        why = "the X server lacks XInput 2.1, so global input is out of reach.";
        return nullptr;
    }
    // The main thread's display asks XInput 2 for the pointer's buttons while
    // a summon arms; the library learns the extension's opcode and version on
    // a display's first call, a round trip each, so that is done now.
    int queryMajor = 2, queryMinor = 2;
    if (XIQueryVersion(s->query_, &queryMajor, &queryMinor) != Success) {
        why = "the X server lacks XInput 2.1, so global input is out of reach.";
        return nullptr;
    }
    int xtestEvent = 0, xtestError = 0, xtestMajor = 0, xtestMinor = 0;
    if (!XTestQueryExtension(s->query_, &xtestEvent, &xtestError, &xtestMajor, &xtestMinor)) {
        why = "the X server lacks XTEST, so the program cannot post keys.";
        return nullptr;
    }
    int xkbOpcode = 0, xkbError = 0, xkbMajor = XkbMajorVersion, xkbMinor = XkbMinorVersion;
    if (!XkbQueryExtension(s->input_, &xkbOpcode, &s->xkbEventBase_, &xkbError, &xkbMajor, &xkbMinor)) {
        why = "the X server lacks XKB, so key positions cannot be read.";
        return nullptr;
    }

    s->root_ = DefaultRootWindow(s->input_);
    unsigned char raw[XIMaskLen(XI_LASTEVENT)] = {};
    XISetMask(raw, XI_RawKeyPress);
    XISetMask(raw, XI_RawKeyRelease);
    XISetMask(raw, XI_RawButtonPress);
    XISetMask(raw, XI_RawButtonRelease);
    XISetMask(raw, XI_RawMotion);
    unsigned char hierarchy[XIMaskLen(XI_LASTEVENT)] = {};
    XISetMask(hierarchy, XI_HierarchyChanged);
    XIEventMask masks[2] = {{XIAllMasterDevices, sizeof raw, raw},
                            {XIAllDevices, sizeof hierarchy, hierarchy}};
    XISelectEvents(s->input_, s->root_, masks, 2);

    const unsigned long stateParts = XkbModifierStateMask | XkbModifierLockMask | XkbGroupStateMask;
    XkbSelectEventDetails(s->input_, XkbUseCoreKbd, XkbStateNotify, stateParts, stateParts);
    XkbSelectEvents(s->input_, XkbUseCoreKbd, XkbNewKeyboardNotifyMask | XkbMapNotifyMask,
                    XkbNewKeyboardNotifyMask | XkbMapNotifyMask);
    XkbStateRec state{};
    if (XkbGetState(s->input_, XkbUseCoreKbd, &state) == Success) {
        s->xkbMods_ = state.mods;
        s->xkbGroup_ = state.group;
        s->decoder_.setCapsLock((state.locked_mods & LockMask) != 0);
    }

    s->evdev_ = keyCodesAreEvdev(s->query_);
    s->rebuildMaps();
    s->decoder_.setKeyMap(s->keyMap_);
    s->devices_ = queryDevices(s->input_);
    s->decoder_.setXtestDevices(s->devices_.xtest);
    s->decoder_.resync(keysDown(s->input_));
    X11Session* self = s.get();
    s->decoder_.setCharacters([self](int x) {
        KeySym keysym = NoSymbol;
        unsigned int consumed = 0;
        const unsigned int lookup = XkbBuildCoreState(self->xkbMods_, self->xkbGroup_);
        if (!XkbLookupKeySym(self->input_, static_cast<KeyCode>(x), lookup, &consumed, &keysym))
            return std::u16string();
        std::uint32_t c = xkb_keysym_to_utf32(static_cast<xkb_keysym_t>(keysym));
        if (c != 0 && (self->xkbMods_ & ControlMask)) c = withControl(c);
        return utf16(c);
    });
    s->decoder_.setUnknownKey([self](int x) {
        self->logOnMain("unknown X key code " + std::to_string(x) + "; its events are ignored.");
    });

    XSync(s->input_, False);
    if (s->lost_) {
        why = "the X connection broke while setting up global input.";
        return nullptr;
    }
    s->wakeFd_ = eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
    if (s->wakeFd_ < 0) {
        why = "cannot create the wake-up handle for the X reader thread.";
        return nullptr;
    }
    return s;
}

X11Session::~X11Session() {
    if (reader_.joinable()) {
        send({Command::Kind::stop});
        reader_.join();
    }
    if (wakeFd_ >= 0) ::close(wakeFd_);
    X11Display::close(query_, lost_);
    X11Display::close(input_, lost_);
}

void X11Session::start(MainQueue& queue, std::weak_ptr<X11SessionListener> listener, int generation) {
    listener_ = std::move(listener);
    queue_ = &queue;
    generation_ = generation;
    reader_ = std::thread([this] { run(); });
}

void X11Session::rebuildMaps() {
    const KeysymMap keysyms(query_);
    keyMap_ = X11InputDecoder::makeKeyMap(evdev_, [&](int x) { return keysyms.firstKeysym(x); });
    postKeys_.clear();
    for (const auto& row : X11KeyTable::rows()) {
        if (postKeys_.contains(row.keyCode)) continue;
        int x = 0;
        if (evdev_ && keysyms.hasKey(row.evdevCode + 8)) x = row.evdevCode + 8;
        if (x == 0 && row.keysym != 0) x = keysyms.keyCodeFor(row.keysym);
        if (x != 0) postKeys_[row.keyCode] = x;
    }
    mediaKeys_.clear();
    for (const auto& media : mediaKeysyms)
        if (const int x = keysyms.keyCodeFor(media.keysym)) mediaKeys_[media.keyType] = x;
    modifierKeys_ = modifierKeys(query_, keysyms);
    spareKey_ = unusedKeyCode(keysyms, modifierKeys_);
}

std::vector<ModifierKey> X11Session::heldModifierKeys() {
    std::vector<ModifierKey> held;
    if (lost_) return held;
    for (const int x : keysDown(query_))
        if (modifierKeys_[static_cast<std::size_t>(x)].mask != 0)
            held.push_back(modifierKeys_[static_cast<std::size_t>(x)]);
    return held;
}

ModifierKey X11Session::modifierKeyFor(int xKeyCode) const {
    if (xKeyCode <= 0 || xKeyCode > 255) return {};
    return modifierKeys_[static_cast<std::size_t>(xKeyCode)];
}

bool X11Session::isXKeyDown(int xKeyCode) {
    return !lost_ && keysDown(query_).contains(xKeyCode);
}

bool X11Session::isHeldOnAKeyboard(int xKeyCode) {
    if (lost_ || xKeyCode <= 0 || xKeyCode > 255) return false;
    int count = 0;
    XIDeviceInfo* info = XIQueryDevice(query_, XIAllDevices, &count);
    bool held = false;
    for (int i = 0; i < count && !held; ++i) {
        if (info[i].use != XISlaveKeyboard || std::strstr(info[i].name, "XTEST")) continue;
        XDevice* device = XOpenDevice(query_, static_cast<XID>(info[i].deviceid));
        if (!device) continue;
        if (XDeviceState* state = XQueryDeviceState(query_, device)) {
            const auto* kind = state->data;
            for (int c = 0; c < state->num_classes; ++c) {
                if (kind->c_class == KeyClass) {
                    const auto* keys = reinterpret_cast<const XKeyState*>(kind);
                    held = held || (keys->keys[xKeyCode / 8] & (1 << (xKeyCode % 8))) != 0;
                }
                kind =
                    reinterpret_cast<const XInputClass*>(reinterpret_cast<const char*>(kind) + kind->length);
            }
            XFreeDeviceState(state);
        }
        XCloseDevice(query_, device);
    }
    XIFreeDeviceInfo(info);
    return held;
}

int X11Session::postKeyCodeFor(std::uint16_t keyCode) const {
    const auto it = postKeys_.find(keyCode);
    return it == postKeys_.end() ? 0 : it->second;
}

int X11Session::mediaKeyCodeFor(int keyType) const {
    const auto it = mediaKeys_.find(keyType);
    return it == mediaKeys_.end() ? 0 : it->second;
}

bool X11Session::isKeyDown(std::uint16_t keyCode) {
    if (lost_) return false;
    for (const int x : keysDown(query_))
        if (keyMap_[static_cast<std::size_t>(x)] == keyCode) return true;
    return false;
}

bool X11Session::isButtonDown(int buttonNumber) {
    if (lost_ || buttonNumber < 0) return false;
    // The system's left, right and middle are X's 1, 3 and 2; the extra
    // buttons follow X's four scroll buttons.
    const int x = buttonNumber == MouseButton::left     ? 1
                  : buttonNumber == MouseButton::right  ? 3
                  : buttonNumber == MouseButton::middle ? 2
                                                        : static_cast<int>(buttonNumber) + 5;
    int pointer = 0;
    XIGetClientPointer(query_, None, &pointer);
    Window root = 0, child = 0;
    double rootX = 0, rootY = 0, winX = 0, winY = 0;
    XIButtonState buttons{};
    XIModifierState modifiers{};
    XIGroupState group{};
    if (!XIQueryPointer(query_, pointer, DefaultRootWindow(query_), &root, &child, &rootX, &rootY, &winX,
                        &winY, &buttons, &modifiers, &group))
        return false;
    const bool down = x < buttons.mask_len * 8 && XIMaskIsSet(buttons.mask, x);
    if (buttons.mask) XFree(buttons.mask);
    return down;
}

std::pair<int, int> X11Session::pointerTravelSince(double time) {
    if (lost_ || !queue_) return {0, 0};
    const auto since = serverClock_.serverTime(monotonicSeconds() - (queue_->now() - time));
    const auto then = since ? pointerMark_.at(*since) : std::nullopt;
    if (!then) return {0, 0};
    Window root = 0, child = 0;
    int rootX = 0, rootY = 0, winX = 0, winY = 0;
    unsigned int state = 0;
    if (!XQueryPointer(query_, DefaultRootWindow(query_), &root, &child, &rootX, &rootY, &winX, &winY,
                       &state))
        return {0, 0};
    return {rootX - then->first, rootY - then->second};
}

std::uint64_t X11Session::flagsState() {
    if (lost_) return 0;
    std::uint64_t flags = 0;
    for (const int x : keysDown(query_))
        if (const auto* m = modifierKeyFlagsFor(keyMap_[static_cast<std::size_t>(x)]))
            flags |= m->group | m->side;
    XkbStateRec state{};
    if (XkbGetState(query_, XkbUseCoreKbd, &state) == Success && (state.locked_mods & LockMask))
        flags |= ModifierFlag::alphaShift;
    return flags;
}

void X11Session::fakeKey(int xKeyCode, bool press, bool expectGrabbedEcho) {
    ledger_.note(xKeyCode, press, monotonicSeconds(), expectGrabbedEcho);
    XTestFakeKeyEvent(query_, static_cast<unsigned>(xKeyCode), press ? True : False, CurrentTime);
}

void X11Session::flush() {
    XFlush(query_);
}

void X11Session::refreshKeyboardMap() {
    // The query display reads no events otherwise; keep its queue short.
    while (XPending(query_) > 0) {
        XEvent event;
        XNextEvent(query_, &event);
    }
    rebuildMaps();
}

void X11Session::send(Command command) {
    {
        std::lock_guard lock(mutex_);
        commands_.push_back(std::move(command));
    }
    const std::uint64_t one = 1;
    [[maybe_unused]] const auto written = ::write(wakeFd_, &one, sizeof one);
}

bool X11Session::setGrab(bool on, EventMask interceptMask) {
    if (lost_ || !reader_.joinable()) return !on;
    auto answer = std::make_shared<std::promise<bool>>();
    auto result = answer->get_future();
    send({Command::Kind::grab, on, interceptMask, 0, true, answer});
    // The reader answers within one turn of its loop; a reader that cannot
    // (a connection stuck mid-write) counts as a refusal.
    if (result.wait_for(std::chrono::seconds(2)) != std::future_status::ready) return false;
    return result.get();
}

void X11Session::setListenMask(EventMask mask) {
    listenMask_ = mask;
    // The reader looks at the pointer while moves are wanted: it must hear
    // that they are, also when no event comes to wake it.
    if (wakeFd_ >= 0) {
        const std::uint64_t one = 1;
        [[maybe_unused]] const auto written = ::write(wakeFd_, &one, sizeof one);
    }
}

void X11Session::sendVerdict(std::uint64_t serial, bool pass) {
    if (serial != 0) send({Command::Kind::verdict, false, 0, serial, pass});
}

void X11Session::withhold(std::uint16_t keyCode) {
    send({Command::Kind::withhold, false, 0, 0, true, nullptr, keyCode});
}

void X11Session::setSummonChords(std::vector<KeyChord> chords) {
    std::lock_guard lock(chordsLock_);
    chords_ = std::move(chords);
}

void X11Session::toMain(std::function<void(X11SessionListener&)> step) {
    std::weak_ptr<X11SessionListener> listener = listener_;
    // Ahead of the main thread's ordinary work: a grabbed press holds the
    // keyboard until it is answered, and must not wait behind redraws. All
    // of the session's news goes the same way, so the taps hear it in order.
    queue_->postFirst([listener, step = std::move(step)] {
        if (const auto alive = listener.lock()) step(*alive);
    });
}

InputEvent X11Session::onQueueClock(InputEvent event, double happened, const MainQueue& queue) {
    event.time = queue.now() - (monotonicSeconds() - happened);
    return event;
}

void X11Session::logOnMain(std::string line) {
    toMain([line = std::move(line)](X11SessionListener& listener) { listener.logLine(line); });
}

void X11Session::run() {
    const int gen = generation_;
    const int fd = ConnectionNumber(input_);
    while (!lost_) {
        if (runCommands()) break;
        expireVerdicts();
        pollPointer();
        // Draining must be the last Xlib call before waiting: any other call
        // may read events off the socket into Xlib's queue, where poll()
        // cannot see them, and they would wait for the next event to come.
        while (!lost_ && XPending(input_) > 0) {
            XEvent event;
            XNextEvent(input_, &event);
            handle(event);
        }
        if (lost_) break;

        int timeoutMs = -1;
        if (!pending_.empty()) {
            double earliest = pending_.begin()->second.deadline;
            for (const auto& [serial, p] : pending_)
                earliest = std::min(earliest, p.deadline);
            timeoutMs = std::max(0, static_cast<int>((earliest - monotonicSeconds()) * 1000.0) + 1);
        }
        if (pointerSeen_) {
            const int untilPoll =
                std::max(0, static_cast<int>((nextPointerPoll_ - monotonicSeconds()) * 1000.0) + 1);
            timeoutMs = timeoutMs < 0 ? untilPoll : std::min(timeoutMs, untilPoll);
        }
        pollfd fds[2] = {{fd, POLLIN, 0}, {wakeFd_, POLLIN, 0}};
        if (poll(fds, 2, timeoutMs) < 0) continue;
        if (fds[1].revents & POLLIN) {
            std::uint64_t count = 0;
            [[maybe_unused]] const auto read = ::read(wakeFd_, &count, sizeof count);
        }
        // A hung-up socket reads as an error inside XPending, which marks
        // the connection lost.
    }
    if (lost_) {
        // Nobody is left to grab for a caller still waiting.
        std::lock_guard lock(mutex_);
        for (auto& command : commands_)
            if (command.answer) command.answer->set_value(false);
        commands_.clear();
        toMain([gen](X11SessionListener& listener) { listener.connectionLost(gen); });
        return;
    }
    ungrabAll();
    XSync(input_, False);
}

bool X11Session::runCommands() {
    std::deque<Command> commands;
    {
        std::lock_guard lock(mutex_);
        commands.swap(commands_);
    }
    for (auto& command : commands) {
        switch (command.kind) {
        case Command::Kind::stop:
            return true;
        case Command::Kind::grab: {
            interceptMask_ = command.mask;
            const bool ok = grab(command.on);
            if (command.answer) command.answer->set_value(ok);
            break;
        }
        case Command::Kind::verdict: {
            const auto it = pending_.find(command.serial);
            // A verdict that comes after the time limit finds nothing: that
            // press was passed on already.
            if (it == pending_.end()) break;
            if (!command.pass && it->second.keyCode != 0)
                swallowKey(it->second.device, it->second.keyCode, it->second.repeat);
            else
                allow(it->second.device, command.pass);
            pending_.erase(it);
            break;
        }
        case Command::Kind::withhold:
            for (int x = 8; x < 256; ++x)
                if (decoder_.keyCodeFor(x) == command.keyCode &&
                    (swallowedDown_.contains(x) || holds_.contains(x)))
                    withheld_.insert(x);
            break;
        }
    }
    return false;
}

void X11Session::allow(int device, bool replay) {
    // A replayed event goes on as if never grabbed, and the grab is over:
    // the keys it kept back that are still down are held on their own
    // first, so that none of their repeats slips out in between.
    const bool ending = replay && device == heldKeyboard_;
    if (ending)
        for (const int x : keptDown_)
            holdAlone(device, x);
    // Stamped now, not with the event's time: a press on the other device of
    // the pair moves the grab time on, and an answer stamped earlier would be
    // ignored, leaving the device frozen.
    XIAllowEvents(input_, device, replay ? XIReplayDevice : XIAsyncDevice, CurrentTime);
    XFlush(input_);
    if (ending) {
        heldKeyboard_ = 0;
        keptDown_.clear();
    }
}

bool X11Session::grab(bool on) {
    if (!on) {
        ungrabAll();
        return true;
    }
    // Each master device on its own: a grab on all masters at once does not
    // freeze the device, and without the freeze nothing can be replayed.
    SharedGrabs shared;
    EventBits keyBits = keyGrabBits();
    for (const int keyboard : devices_.masterKeyboards) {
        XIEventMask mask{keyboard, static_cast<int>(keyBits.size()), keyBits.data()};
        shared += grabLeftFree(
            [&](int keyCode, XIGrabModifiers* states, int count) {
                return XIGrabKeycode(input_, keyboard, keyCode, root_, XIGrabModeSync, XIGrabModeAsync, False,
                                     &mask, count, states);
            },
            XIAnyKeycode, 8, 255);
    }
    unsigned char buttonBits[XIMaskLen(XI_LASTEVENT)] = {};
    XISetMask(buttonBits, XI_ButtonPress);
    XISetMask(buttonBits, XI_ButtonRelease);
    // As for the keyboard: a swallowed click holds the pointer until its release.
    XISetMask(buttonBits, XI_RawButtonPress);
    XISetMask(buttonBits, XI_RawButtonRelease);
    XISetMask(buttonBits, XI_RawMotion);
    for (const int pointer : devices_.masterPointers) {
        XIEventMask mask{pointer, sizeof buttonBits, buttonBits};
        shared += grabLeftFree(
            [&](int button, XIGrabModifiers* states, int count) {
                return XIGrabButton(input_, pointer, button, root_, None, XIGrabModeSync, XIGrabModeAsync,
                                    False, &mask, count, states);
            },
            XIAnyButton, 1, lastGrabbedButton);
    }
    // A key held on its own stays with its hold.
    XIGrabModifiers any{static_cast<int>(XIAnyModifier), 0};
    for (const auto& [x, hold] : holds_)
        XIUngrabKeycode(input_, hold.device, x, root_, 1, &any);
    XSync(input_, False);
    grabbed_ = true;
    if (shared.errors != 0 || lost_) {
        ungrabAll();
        logOnMain("the X server refused to grab keys and buttons; the intercepting tap cannot run.");
        return false;
    }
    if (shared.leftToOthers != 0 && !reportedSharedGrabs_) {
        reportedSharedGrabs_ = true;
        logOnMain("another program grabs some keys or buttons of the root window; pressed with its "
                  "modifiers, they reach it rather than the wheel.");
    }
    return true;
}

void X11Session::ungrabAll() {
    // A key to be withheld that our grab of the keyboard keeps back now
    // goes on being held on its own.
    if (heldKeyboard_ != 0)
        for (const int x : keptDown_)
            if (withheld_.contains(x)) holdAlone(heldKeyboard_, x);
    for (const auto& [serial, p] : pending_)
        allow(p.device, true);
    pending_.clear();
    swallowedDown_.clear();
    keptDown_.clear();
    heldKeyboard_ = 0;
    const bool wasGrabbed = std::exchange(grabbed_, false);
    for (auto it = holds_.begin(); it != holds_.end();) {
        if (withheld_.contains(it->first)) it->second.kept = true;
        it = it->second.kept ? std::next(it) : endHold(it);
    }
    withheld_.clear();
    if (!wasGrabbed) {
        XFlush(input_);
        return;
    }
    for (const int keyboard : devices_.masterKeyboards) {
        XIGrabModifiers any{static_cast<int>(XIAnyModifier), 0};
        XIUngrabKeycode(input_, keyboard, XIAnyKeycode, root_, 1, &any);
        // A swallowed press keeps its grab until the release; end it now, so
        // nothing stays grabbed once no tap wants the input. A kept hold's
        // grab stays: ending it would take the focus away again at the
        // key's next repeat.
        if (keyboard != holdTaken_) XIUngrabDevice(input_, keyboard, CurrentTime);
    }
    for (const int pointer : devices_.masterPointers) {
        XIGrabModifiers any{static_cast<int>(XIAnyModifier), 0};
        XIUngrabButton(input_, pointer, XIAnyButton, root_, 1, &any);
        XIUngrabDevice(input_, pointer, CurrentTime);
    }
    XFlush(input_);
}

void X11Session::expireVerdicts() {
    if (pending_.empty()) return;
    const double now = monotonicSeconds();
    bool expired = false;
    for (auto it = pending_.begin(); it != pending_.end();) {
        if (it->second.deadline > now) {
            ++it;
            continue;
        }
        allow(it->second.device, true);
        it = pending_.erase(it);
        expired = true;
    }
    if (!expired) return;
    ungrabAll();
    const int gen = generation_;
    toMain([gen](X11SessionListener& listener) { listener.verdictsTimedOut(gen); });
}

void X11Session::swallowKey(int device, int xKeyCode, bool repeat) {
    swallowedDown_.insert(xKeyCode);
    if (device == heldKeyboard_) {
        // Ours already, until the keys kept back are up. A repeat of a key
        // the application saw go down keeps nothing back: its release will
        // end the grab.
        if (!repeat) keptDown_.insert(xKeyCode);
        XIAllowEvents(input_, device, XISyncDevice, CurrentTime);
    } else if (!repeat && heldKeyboard_ == 0 && holdKeyboard(device)) {
        keptDown_.insert(xKeyCode);
    } else {
        // A repeat of a key the application saw go down before we took the
        // input (a summon key held since), whose release is the
        // application's, or a keyboard we cannot hold: ending the grab
        // consumes the press and frees the keyboard at once.
        XIUngrabDevice(input_, device, CurrentTime);
    }
    XFlush(input_);
}

bool X11Session::holdKeyboard(int device) {
    // The grab the press took would end with that key's release and let
    // the releases of keys pressed after it through: a grab of our own
    // takes its place and lasts until we end it. Meanwhile each key event
    // stops at us until answered: presses wait for the taps' verdict,
    // releases are answered in keyReleaseUnderGrab.
    EventBits bits = keyGrabBits();
    XIEventMask mask{device, static_cast<int>(bits.size()), bits.data()};
    if (XIGrabDevice(input_, device, root_, CurrentTime, None, XIGrabModeSync, XIGrabModeAsync, False,
                     &mask) != GrabSuccess)
        return false;
    XIAllowEvents(input_, device, XISyncDevice, CurrentTime);
    heldKeyboard_ = device;
    return true;
}

void X11Session::keyReleaseUnderGrab(int device, int xKeyCode) {
    if (device != heldKeyboard_) return;
    if (keptDown_.erase(xKeyCode) == 0) {
        // The application saw this key go down (a summon key): only ending
        // the grab lets its release reach it, and the keys still kept back
        // then come up there unseen going down.
        allow(device, true);
        return;
    }
    if (keptDown_.empty()) {
        // The last key kept back is up; its release stays ours.
        XIUngrabDevice(input_, device, CurrentTime);
        heldKeyboard_ = 0;
    } else {
        XIAllowEvents(input_, device, XISyncDevice, CurrentTime);
    }
    XFlush(input_);
}

void X11Session::holdAlone(int device, int xKeyCode) {
    if (holds_.contains(xKeyCode)) return;
    // A grab on the window with the focus takes the key's events without
    // taking the focus from that window, as a grab on the root would at
    // each repeat; without such a window the key is not held.
    Window focus = None;
    if (XIGetFocus(input_, device, &focus) != Success || focus == None || focus == PointerRoot ||
        focus == root_)
        return;
    EventBits bits = keyGrabBits();
    XIEventMask mask{device, static_cast<int>(bits.size()), bits.data()};
    XIGrabModifiers any{static_cast<int>(XIAnyModifier), 0};
    if (XIGrabKeycode(input_, device, xKeyCode, focus, XIGrabModeSync, XIGrabModeAsync, False, &mask, 1,
                      &any) != 0)
        return;
    // Our grab of every key on the root window would come first.
    if (grabbed_) XIUngrabKeycode(input_, device, xKeyCode, root_, 1, &any);
    holds_[xKeyCode] = {device, focus};
}

std::map<int, X11Session::Hold>::iterator X11Session::endHold(std::map<int, Hold>::iterator hold) {
    const int x = hold->first;
    const int device = hold->second.device;
    XIGrabModifiers any{static_cast<int>(XIAnyModifier), 0};
    XIUngrabKeycode(input_, device, x, hold->second.window, 1, &any);
    if (holdTaken_ == device) {
        XIUngrabDevice(input_, device, CurrentTime);
        holdTaken_ = 0;
    }
    if (grabbed_) grabOnRoot(device, x);
    return holds_.erase(hold);
}

void X11Session::grabOnRoot(int device, int xKeyCode) {
    EventBits bits = keyGrabBits();
    XIEventMask mask{device, static_cast<int>(bits.size()), bits.data()};
    grabLeftFree(
        [&](int keyCode, XIGrabModifiers* states, int count) {
            return XIGrabKeycode(input_, device, keyCode, root_, XIGrabModeSync, XIGrabModeAsync, False,
                                 &mask, count, states);
        },
        xKeyCode, xKeyCode, xKeyCode);
}

void X11Session::answerHold(int device, int xKeyCode, bool press) {
    const auto hold = holds_.find(xKeyCode);
    if (hold == holds_.end() || hold->second.device != device) {
        // Another key, under the grab a held key's repeat took: the
        // application's. Ending the grab hands it on.
        XIAllowEvents(input_, device, XIReplayDevice, CurrentTime);
        if (holdTaken_ == device) holdTaken_ = 0;
    } else if (press) {
        // A repeat: ours, and the next key event stops here too.
        holdTaken_ = device;
        XIAllowEvents(input_, device, XISyncDevice, CurrentTime);
    } else {
        endHold(hold);
    }
    XFlush(input_);
}

void X11Session::heldKeyReleased(int xKeyCode) {
    const auto hold = holds_.find(xKeyCode);
    // Under its hold's grab the release reaches us there too, and ends it.
    if (hold == holds_.end() || holdTaken_ == hold->second.device) return;
    endHold(hold);
    XFlush(input_);
}

bool X11Session::completesChord(std::uint16_t keyCode) const {
    std::lock_guard lock(chordsLock_);
    for (const KeyChord& chord : chords_) {
        const auto& keys = chord.keyCodes;
        if (std::find(keys.begin(), keys.end(), keyCode) == keys.end()) continue;
        const bool held =
            std::all_of(keys.begin(), keys.end(), [&](std::uint16_t k) { return decoder_.isKeyDown(k); }) &&
            std::all_of(chord.buttonNumbers.begin(), chord.buttonNumbers.end(),
                        [&](int b) { return decoder_.isButtonDown(b); });
        if (held) return true;
    }
    return false;
}

void X11Session::markPointer(int xiType, std::uint32_t serverTime, const InputEvent& event) {
    if (xiType == XI_RawMotion) {
        pointerMark_.moved(serverTime);
        return;
    }
    // Only a press that can begin a summon: the pointer's place then is
    // what a summon asks for, and asking costs a round trip to the server.
    if (xiType != XI_RawKeyPress || !completesChord(event.keyCode)) return;
    Window root = 0, child = 0;
    int rootX = 0, rootY = 0, winX = 0, winY = 0;
    unsigned int state = 0;
    if (XQueryPointer(input_, root_, &root, &child, &rootX, &rootY, &winX, &winY, &state))
        pointerMark_.keyPressed(serverTime, rootX, rootY);
}

void X11Session::pollPointer() {
    constexpr EventMask moves = maskOf(EventType::mouseMoved) | maskOf(EventType::leftMouseDragged) |
                                maskOf(EventType::rightMouseDragged) | maskOf(EventType::otherMouseDragged);
    if ((listenMask_.load() & moves) == 0) {
        pointerSeen_.reset();
        return;
    }
    const double now = monotonicSeconds();
    if (pointerSeen_ && now < nextPointerPoll_) return;
    nextPointerPoll_ = now + pointerPollInterval;
    Window root = 0, child = 0;
    int rootX = 0, rootY = 0, winX = 0, winY = 0;
    unsigned int state = 0;
    if (!XQueryPointer(input_, root_, &root, &child, &rootX, &rootY, &winX, &winY, &state)) return;
    const std::pair<double, double> at{rootX, rootY};
    const bool moved = pointerSeen_ && *pointerSeen_ != at;
    pointerSeen_ = at;
    // A raw move since the last look has told the taps already.
    const bool told = rawMotionSeen_;
    rawMotionSeen_ = false;
    if (!moved || told) return;
    const auto event = decoder_.decodeRaw({X11RawInput::Kind::motion, 0, 0, false}, now);
    if (!event || (listenMask_.load() & maskOf(event->type)) == 0) return;
    const int gen = generation_;
    toMain([gen, e = *event, now, queue = queue_](X11SessionListener& listener) {
        listener.rawEvent(gen, onQueueClock(e, now, *queue));
    });
}

void X11Session::handle(XEvent& event) {
    if (event.type == GenericEvent && event.xcookie.extension == xiOpcode_) {
        if (XGetEventData(input_, &event.xcookie)) {
            handleXi(event.xcookie.evtype, event.xcookie.data);
            XFreeEventData(input_, &event.xcookie);
        }
        return;
    }
    if (event.type == xkbEventBase_) {
        handleXkb(event);
        return;
    }
    if (event.type == MappingNotify) {
        XRefreshKeyboardMapping(&event.xmapping);
        rebuildDecoderMap();
    }
}

void X11Session::handleXkb(XEvent& event) {
    auto* xkb = reinterpret_cast<XkbEvent*>(&event);
    switch (xkb->any.xkb_type) {
    case XkbStateNotify:
        xkbMods_ = xkb->state.mods;
        xkbGroup_ = static_cast<unsigned>(xkb->state.group);
        decoder_.setCapsLock((xkb->state.locked_mods & LockMask) != 0);
        break;
    case XkbMapNotify:
        XkbRefreshKeyboardMapping(&xkb->map);
        rebuildDecoderMap();
        break;
    case XkbNewKeyboardNotify:
        rebuildDecoderMap();
        break;
    default:
        break;
    }
}

void X11Session::rebuildDecoderMap() {
    const KeysymMap keysyms(input_);
    decoder_.setKeyMap(X11InputDecoder::makeKeyMap(evdev_, [&](int x) { return keysyms.firstKeysym(x); }));
    const int gen = generation_;
    toMain([gen](X11SessionListener& listener) { listener.keymapChanged(gen); });
}

void X11Session::handleXi(int type, const void* data) {
    const double now = monotonicSeconds();
    switch (type) {
    case XI_RawKeyPress:
    case XI_RawKeyRelease:
    case XI_RawButtonPress:
    case XI_RawButtonRelease:
    case XI_RawMotion: {
        const auto* raw = static_cast<const XIRawEvent*>(data);
        if (type == XI_RawMotion) rawMotionSeen_ = true;
        if (type == XI_RawKeyRelease) heldKeyReleased(raw->detail);
        const auto event = decoder_.decodeRaw({kindOf(type), raw->detail, raw->sourceid, false}, now);
        if (!event) return;
        const auto serverTime = static_cast<std::uint32_t>(raw->time);
        const double happened = serverClock_.heard(serverTime, now);
        markPointer(type, serverTime, *event);
        const int gen = generation_;
        // The taps that swallowed a key's press want to see it go up, and see
        // it here: its release comes through our grab only while that holds.
        if (type == XI_RawKeyRelease && swallowedDown_.erase(raw->detail))
            toMain([gen, e = *event, happened, queue = queue_](X11SessionListener& listener) {
                listener.grabbedEvent(gen, 0, onQueueClock(e, happened, *queue));
            });
        if ((listenMask_.load() & maskOf(event->type)) == 0) return;
        toMain([gen, e = *event, happened, queue = queue_](X11SessionListener& listener) {
            listener.rawEvent(gen, onQueueClock(e, happened, *queue));
        });
        return;
    }
    case XI_KeyPress:
    case XI_KeyRelease:
    case XI_ButtonPress:
    case XI_ButtonRelease: {
        const auto* device = static_cast<const XIDeviceEvent*>(data);
        // Our other grabs are all on the root window: this is a key hold's.
        if ((type == XI_KeyPress || type == XI_KeyRelease) && device->event != root_) {
            answerHold(device->deviceid, device->detail, type == XI_KeyPress);
            return;
        }
        if (type == XI_KeyRelease) {
            // Its raw twin has told the taps already.
            keyReleaseUnderGrab(device->deviceid, device->detail);
            return;
        }
        const bool press = type == XI_KeyPress || type == XI_ButtonPress;
        const bool repeat = type == XI_KeyPress && (device->flags & XIKeyRepeat) != 0;
        const auto event =
            decoder_.decodeGrabbed({kindOf(type), device->detail, device->sourceid, repeat}, now);
        const bool wanted = event && (interceptMask_ & maskOf(event->type)) != 0;
        const bool key = type == XI_KeyPress || type == XI_KeyRelease;
        std::uint64_t serial = 0;
        if (press) {
            if (!wanted) {
                // Nobody intercepts this kind (a modifier, the right button,
                // an unknown key): hand it straight on.
                allow(device->deviceid, true);
                return;
            }
            serial = ++nextSerial_;
            pending_[serial] = {device->deviceid, now + verdictTimeLimit, key ? device->detail : 0, repeat};
        } else if (!wanted) {
            return;
        }
        const double happened = serverClock_.heard(static_cast<std::uint32_t>(device->time), now);
        const int gen = generation_;
        toMain([gen, serial, e = *event, happened, queue = queue_](X11SessionListener& listener) {
            listener.grabbedEvent(gen, serial, onQueueClock(e, happened, *queue));
        });
        return;
    }
    case XI_HierarchyChanged:
        handleHierarchy(data);
        return;
    default:
        return;
    }
}

void X11Session::handleHierarchy(const void* data) {
    const auto* event = static_cast<const XIHierarchyEvent*>(data);
    const Devices before = devices_;
    devices_ = queryDevices(input_);
    decoder_.setXtestDevices(devices_.xtest);
    bool gone = false;
    for (int i = 0; i < event->num_info; ++i) {
        const XIHierarchyInfo& info = event->info[i];
        const int id = info.deviceid;
        if (info.flags & (XISlaveAdded | XIMasterAdded)) {
            const auto name = devices_.names.find(id);
            logOnMain("input device added: " +
                      (name == devices_.names.end() ? std::to_string(id) : name->second));
        }
        if (info.flags & (XISlaveRemoved | XIMasterRemoved | XIDeviceDisabled)) {
            const auto name = before.names.find(id);
            logOnMain("input device removed: " +
                      (name == before.names.end() ? std::to_string(id) : name->second));
            gone = true;
        }
    }
    // A keyboard unplugged with keys held never sends their releases.
    if (gone) decoder_.resync(keysDown(input_));
    // A new master device needs grabs of its own while we intercept.
    if (grabbed_ &&
        (devices_.masterKeyboards != before.masterKeyboards ||
         devices_.masterPointers != before.masterPointers) &&
        !grab(true)) {
        const int gen = generation_;
        toMain([gen](X11SessionListener& listener) { listener.grabLost(gen); });
    }
}

} // namespace rondelix::platform::linux_desktop

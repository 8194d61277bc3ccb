#include "platform/linux/x11/XkbKeyboardLayout.h"

#include "platform/linux/x11/X11KeyTable.h"

#include <QGuiApplication>
#include <array>
#include <xkbcommon/xkbcommon-x11.h>
#include <xkbcommon/xkbcommon.h>

namespace rondelix::platform::linux_desktop {

namespace {

// X key codes are evdev codes shifted by 8.
constexpr int xKeycodeOffset = 8;

struct KeymapDeleter {
    void operator()(xkb_keymap* keymap) const { xkb_keymap_unref(keymap); }
};
struct StateDeleter {
    void operator()(xkb_state* state) const { xkb_state_unref(state); }
};
using Keymap = std::unique_ptr<xkb_keymap, KeymapDeleter>;
using State = std::unique_ptr<xkb_state, StateDeleter>;

xcb_connection_t* applicationConnection() {
    auto* application = qobject_cast<QGuiApplication*>(QCoreApplication::instance());
    if (!application) return nullptr;
    auto* x11 = application->nativeInterface<QNativeInterface::QX11Application>();
    return x11 ? x11->connection() : nullptr;
}

} // namespace

struct XkbKeyboardLayout::Connection {
    xcb_connection_t* xcb = nullptr;
    int32_t deviceId = -1;
    xkb_context* context = nullptr;

    ~Connection() {
        if (context) xkb_context_unref(context);
    }
};

XkbKeyboardLayout::XkbKeyboardLayout(Log& log) : connection_(std::make_unique<Connection>()) {
    xcb_connection_t* xcb = applicationConnection();
    if (!xcb) {
        log.write("no X11 display: keys are named without the keyboard layout.");
        return;
    }
    if (!xkb_x11_setup_xkb_extension(xcb, XKB_X11_MIN_MAJOR_XKB_VERSION, XKB_X11_MIN_MINOR_XKB_VERSION,
                                     XKB_X11_SETUP_XKB_EXTENSION_NO_FLAGS, nullptr, nullptr, nullptr,
                                     nullptr)) {
        log.write("the X server has no keyboard extension: keys are named without the keyboard layout.");
        return;
    }
    const int32_t deviceId = xkb_x11_get_core_keyboard_device_id(xcb);
    xkb_context* context = xkb_context_new(XKB_CONTEXT_NO_FLAGS);
    if (deviceId < 0 || !context) {
        if (context) xkb_context_unref(context);
        log.write("no X11 keyboard: keys are named without the keyboard layout.");
        return;
    }
    connection_->xcb = xcb;
    connection_->deviceId = deviceId;
    connection_->context = context;
}

XkbKeyboardLayout::~XkbKeyboardLayout() = default;

std::optional<int> XkbKeyboardLayout::keyCodeForNativeKey(std::uint32_t nativeCode,
                                                          std::uint32_t nativeSymbol) const {
    // The position decides, as for the event taps; the keysym serves keys the
    // position table lacks.
    std::optional<std::uint16_t> code;
    if (nativeCode >= xKeycodeOffset)
        code = X11KeyTable::keyCodeForEvdev(static_cast<int>(nativeCode) - xKeycodeOffset);
    if (!code && nativeSymbol) code = X11KeyTable::keyCodeForKeysym(nativeSymbol);
    if (!code) return std::nullopt;
    return *code;
}

std::optional<std::string> XkbKeyboardLayout::typedText(int keyCode) const {
    if (!connection_->context || keyCode < 0 || keyCode > 0xffff) return std::nullopt;
    // The key at that position on a PC keyboard, as the event taps read it.
    const X11KeyRow* row = X11KeyTable::rowForKeyCode(static_cast<std::uint16_t>(keyCode));
    if (!row) return std::nullopt;

    const Keymap keymap(xkb_x11_keymap_new_from_device(connection_->context, connection_->xcb,
                                                       connection_->deviceId, XKB_KEYMAP_COMPILE_NO_FLAGS));
    if (!keymap) return std::nullopt;
    const State device(xkb_x11_state_new_from_device(keymap.get(), connection_->xcb, connection_->deviceId));
    const State plain(xkb_state_new(keymap.get()));
    if (!device || !plain) return std::nullopt;

    // The layout group in effect now, with no modifier held: what the key
    // shows on its cap rather than what it would type this instant.
    const xkb_layout_index_t group = xkb_state_serialize_layout(device.get(), XKB_STATE_LAYOUT_EFFECTIVE);
    xkb_state_update_mask(plain.get(), 0, 0, 0, 0, 0, group);

    const auto key = static_cast<xkb_keycode_t>(row->evdevCode + xKeycodeOffset);
    std::array<char, 64> buffer{};
    const int length = xkb_state_key_get_utf8(plain.get(), key, buffer.data(), buffer.size());
    if (length <= 0 || static_cast<std::size_t>(length) >= buffer.size()) return std::nullopt;
    return std::string(buffer.data(), static_cast<std::size_t>(length));
}

} // namespace rondelix::platform::linux_desktop

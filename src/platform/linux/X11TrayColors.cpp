#include "platform/linux/X11TrayColors.h"

#include <QGuiApplication>
#include <cstdlib>
#include <memory>
#include <string>
#include <xcb/xcb.h>
// Last: Xlib's macros would rewrite names in the headers above.
#include <X11/Xlib.h>

namespace rondelix::platform::linux_desktop {

namespace {

template <typename Reply> using Owned = std::unique_ptr<Reply, decltype(&std::free)>;

xcb_atom_t atom(xcb_connection_t* connection, const std::string& name) {
    const Owned<xcb_intern_atom_reply_t> reply(
        xcb_intern_atom_reply(
            connection, xcb_intern_atom(connection, 1, static_cast<std::uint16_t>(name.size()), name.data()),
            nullptr),
        &std::free);
    return reply ? reply->atom : static_cast<xcb_atom_t>(XCB_ATOM_NONE);
}

} // namespace

std::optional<QColor> trayTextColor() {
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    xcb_connection_t* connection = x11 ? x11->connection() : nullptr;
    if (!connection) return std::nullopt;
    // The tray of the screen the program runs on, as the tray protocol names it.
    const int screen = x11->display() ? DefaultScreen(x11->display()) : 0;
    const xcb_atom_t selection = atom(connection, "_NET_SYSTEM_TRAY_S" + std::to_string(screen));
    const xcb_atom_t colors = atom(connection, "_NET_SYSTEM_TRAY_COLORS");
    if (selection == XCB_ATOM_NONE || colors == XCB_ATOM_NONE) return std::nullopt;
    const Owned<xcb_get_selection_owner_reply_t> owner(
        xcb_get_selection_owner_reply(connection, xcb_get_selection_owner(connection, selection), nullptr),
        &std::free);
    if (!owner || owner->owner == XCB_WINDOW_NONE) return std::nullopt;
    // Foreground, error, warning and success, each red, green and blue in 16 bits.
    const Owned<xcb_get_property_reply_t> property(
        xcb_get_property_reply(
            connection, xcb_get_property(connection, 0, owner->owner, colors, XCB_ATOM_CARDINAL, 0, 12),
            nullptr),
        &std::free);
    if (!property || property->format != 32 || property->value_len < 3) return std::nullopt;
    const auto* rgb = static_cast<const std::uint32_t*>(xcb_get_property_value(property.get()));
    return QColor::fromRgba64(static_cast<quint16>(rgb[0]), static_cast<quint16>(rgb[1]),
                              static_cast<quint16>(rgb[2]));
}

} // namespace rondelix::platform::linux_desktop

#include "platform/linux/x11/X11PanelColour.h"

#include "platform/linux/x11/XcbConnection.h"

#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QScreen>
#include <algorithm>
#include <cstdlib>
#include <memory>
#include <unordered_map>
#include <vector>
#include <xcb/xcb.h>

namespace rondelix::platform::linux_desktop {

namespace {

// The windows on screen: those the window manager lists (it may put them in
// frames of its own), else the root's children.
std::vector<xcb_window_t> topLevels(xcb_connection_t* connection, xcb_window_t root) {
    const xcb_atom_t clients = internAtom(connection, "_NET_CLIENT_LIST", AtomLookup::OnlyIfExists);
    const Owned<xcb_get_property_reply_t> listed(
        xcb_get_property_reply(
            connection, xcb_get_property(connection, 0, root, clients, XCB_ATOM_WINDOW, 0, 1 << 16), nullptr),
        &std::free);
    if (listed && xcb_get_property_value_length(listed.get()) > 0) {
        const auto* windows = static_cast<const xcb_window_t*>(xcb_get_property_value(listed.get()));
        return {windows, windows + xcb_get_property_value_length(listed.get()) / int(sizeof(xcb_window_t))};
    }
    const Owned<xcb_query_tree_reply_t> tree(
        xcb_query_tree_reply(connection, xcb_query_tree(connection, root), nullptr), &std::free);
    if (!tree) return {};
    const xcb_window_t* children = xcb_query_tree_children(tree.get());
    return {children, children + xcb_query_tree_children_length(tree.get())};
}

} // namespace

std::vector<std::uint32_t> dockWindows(xcb_connection_t* connection, std::uint32_t root) {
    const xcb_atom_t type = internAtom(connection, "_NET_WM_WINDOW_TYPE", AtomLookup::OnlyIfExists);
    const xcb_atom_t dock = internAtom(connection, "_NET_WM_WINDOW_TYPE_DOCK", AtomLookup::OnlyIfExists);
    if (type == XCB_ATOM_NONE || dock == XCB_ATOM_NONE) return {};
    const std::vector<xcb_window_t> windows = topLevels(connection, root);
    // Every question asked before the first answer is waited for: one round trip.
    std::vector<xcb_get_window_attributes_cookie_t> attributes;
    std::vector<xcb_get_property_cookie_t> types;
    for (std::size_t i = 0; i < windows.size(); ++i) {
        attributes.push_back(xcb_get_window_attributes(connection, windows[i]));
        types.push_back(xcb_get_property(connection, 0, windows[i], type, XCB_ATOM_ATOM, 0, 16));
    }
    std::vector<xcb_window_t> found;
    for (std::size_t i = 0; i < windows.size(); ++i) {
        const Owned<xcb_get_window_attributes_reply_t> shown(
            xcb_get_window_attributes_reply(connection, attributes[i], nullptr), &std::free);
        const Owned<xcb_get_property_reply_t> kinds(xcb_get_property_reply(connection, types[i], nullptr),
                                                    &std::free);
        if (!shown || shown->map_state != XCB_MAP_STATE_VIEWABLE || !kinds) continue;
        const auto* atoms = static_cast<const xcb_atom_t*>(xcb_get_property_value(kinds.get()));
        const int length = xcb_get_property_value_length(kinds.get()) / int(sizeof(xcb_atom_t));
        if (std::find(atoms, atoms + length, dock) != atoms + length) found.push_back(windows[i]);
    }
    return found;
}

std::optional<QColor> panelColour() {
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    QScreen* screen = QGuiApplication::primaryScreen();
    if (!x11 || !x11->connection() || !screen) return std::nullopt;
    xcb_connection_t* connection = x11->connection();
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
    // Every other pixel of every other row: a panel's background is most of it.
    std::unordered_map<QRgb, int> counts;
    for (const xcb_window_t dock : dockWindows(connection, root)) {
        const QImage shown = screen->grabWindow(dock).toImage();
        for (int y = 0; y < shown.height(); y += 2)
            for (int x = 0; x < shown.width(); x += 2)
                ++counts[shown.pixel(x, y) | 0xFF000000u];
    }
    if (counts.empty()) return std::nullopt;
    return QColor(std::max_element(counts.begin(), counts.end(), [](const auto& a, const auto& b) {
                      return a.second < b.second;
                  })->first);
}

} // namespace rondelix::platform::linux_desktop

#include "platform/linux/x11/XcbConnection.h"

#include <QGuiApplication>
// Last: Xlib's macros would rewrite names in the headers above.
#include <X11/Xlib.h>

namespace rondelix::platform::linux_desktop {

xcb_atom_t internAtom(xcb_connection_t* connection, std::string_view name, AtomLookup lookup) {
    const Owned<xcb_intern_atom_reply_t> reply(
        xcb_intern_atom_reply(connection,
                              xcb_intern_atom(connection, lookup == AtomLookup::OnlyIfExists ? 1 : 0,
                                              static_cast<std::uint16_t>(name.size()), name.data()),
                              nullptr),
        &std::free);
    return reply ? reply->atom : static_cast<xcb_atom_t>(XCB_ATOM_NONE);
}

XcbConnection connectBesideToolkit() {
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    if (!x11 || !x11->display()) return {};
    XcbConnection opened;
    opened.connection = xcb_connect(DisplayString(x11->display()), &opened.screen);
    if (xcb_connection_has_error(opened.connection)) {
        xcb_disconnect(opened.connection);
        return {};
    }
    xcb_screen_iterator_t it = xcb_setup_roots_iterator(xcb_get_setup(opened.connection));
    for (int i = 0; i < opened.screen && it.rem; ++i)
        xcb_screen_next(&it);
    if (it.rem) opened.root = it.data->root;
    return opened;
}

} // namespace rondelix::platform::linux_desktop

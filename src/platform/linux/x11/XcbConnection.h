#pragma once

#include <cstdlib>
#include <memory>
#include <string_view>
#include <xcb/xcb.h>

namespace rondelix::platform::linux_desktop {

// What xcb hands back is malloc'd and freed by the caller.
template <typename Reply> using Owned = std::unique_ptr<Reply, decltype(&std::free)>;

enum class AtomLookup { Create, OnlyIfExists };

// None when the server did not answer, or the name is unknown to it and
// `lookup` asked not to make it.
xcb_atom_t internAtom(xcb_connection_t* connection, std::string_view name, AtomLookup lookup);

struct XcbConnection {
    // Null when there is no X display, or it could not be reached; the
    // caller disconnects it.
    xcb_connection_t* connection = nullptr;
    int screen = 0;
    // None when the display names a screen the server lacks.
    xcb_window_t root = XCB_WINDOW_NONE;
};

// A connection of its own to the display the toolkit shows on: its events
// and waits for answers stay apart from the toolkit's.
XcbConnection connectBesideToolkit();

} // namespace rondelix::platform::linux_desktop

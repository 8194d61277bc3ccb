#pragma once

#include <QRect>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <xcb/xcb.h>

namespace rondelix::testing {

// A client of the test's own on its X server, apart from the program's;
// its windows go with it.
class XcbTestClient {
  public:
    XcbTestClient() : connection_(xcb_connect(nullptr, nullptr)) {
        screen_ = xcb_setup_roots_iterator(xcb_get_setup(connection_)).data;
    }
    ~XcbTestClient() { xcb_disconnect(connection_); }
    XcbTestClient(const XcbTestClient&) = delete;
    XcbTestClient& operator=(const XcbTestClient&) = delete;
    bool ok() const { return xcb_connection_has_error(connection_) == 0; }

  protected:
    xcb_atom_t atom(const char* name) {
        std::unique_ptr<xcb_intern_atom_reply_t, decltype(&std::free)> reply(
            xcb_intern_atom_reply(connection_,
                                  xcb_intern_atom(connection_, 0, std::uint16_t(std::strlen(name)), name),
                                  nullptr),
            &std::free);
        return reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
    }
    // A round trip: the server has done all that was asked before it answers.
    void settle() {
        std::free(xcb_get_input_focus_reply(connection_, xcb_get_input_focus(connection_), nullptr));
    }
    // Not shown yet, and out of the window manager's hands.
    xcb_window_t makeWindow(xcb_window_t parent, const QRect& at, std::uint32_t rgb) {
        const xcb_window_t made = xcb_generate_id(connection_);
        const std::uint32_t values[] = {rgb, 1};
        xcb_create_window(connection_, XCB_COPY_FROM_PARENT, made, parent, std::int16_t(at.x()),
                          std::int16_t(at.y()), std::uint16_t(at.width()), std::uint16_t(at.height()), 0,
                          XCB_WINDOW_CLASS_INPUT_OUTPUT, screen_->root_visual,
                          XCB_CW_BACK_PIXEL | XCB_CW_OVERRIDE_REDIRECT, values);
        return made;
    }

    xcb_connection_t* connection_;
    xcb_screen_t* screen_;
};

} // namespace rondelix::testing

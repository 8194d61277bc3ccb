#include "platform/linux/x11/X11PanelColour.h"

#include "platform/linux/DesktopApplication.h"

#include <cstdlib>
#include <cstring>
#include <gtest/gtest.h>
#include <memory>
#include <vector>
#include <xcb/xcb.h>

namespace rondelix::platform::linux_desktop {
namespace {

// Windows of a client of its own on the test's X server, gone with it.
class Windows {
  public:
    Windows() : connection_(xcb_connect(nullptr, nullptr)) {
        screen_ = xcb_setup_roots_iterator(xcb_get_setup(connection_)).data;
    }
    ~Windows() {
        xcb_delete_property(connection_, screen_->root, atom("_NET_CLIENT_LIST"));
        settle();
        xcb_disconnect(connection_);
    }
    bool ok() const { return xcb_connection_has_error(connection_) == 0; }

    xcb_window_t add(QRect frame, std::uint32_t rgb, bool dock, bool shown = true) {
        const xcb_window_t window = xcb_generate_id(connection_);
        const std::uint32_t values[] = {rgb, 1};
        xcb_create_window(connection_, XCB_COPY_FROM_PARENT, window, screen_->root, std::int16_t(frame.x()),
                          std::int16_t(frame.y()), std::uint16_t(frame.width()),
                          std::uint16_t(frame.height()), 0, XCB_WINDOW_CLASS_INPUT_OUTPUT,
                          screen_->root_visual, XCB_CW_BACK_PIXEL | XCB_CW_OVERRIDE_REDIRECT, values);
        if (dock) {
            const xcb_atom_t type = atom("_NET_WM_WINDOW_TYPE_DOCK");
            xcb_change_property(connection_, XCB_PROP_MODE_REPLACE, window, atom("_NET_WM_WINDOW_TYPE"),
                                XCB_ATOM_ATOM, 32, 1, &type);
        }
        if (shown) xcb_map_window(connection_, window);
        settle();
        return window;
    }
    // As a window manager lists the windows it manages.
    void list(const std::vector<xcb_window_t>& windows) {
        xcb_change_property(connection_, XCB_PROP_MODE_REPLACE, screen_->root, atom("_NET_CLIENT_LIST"),
                            XCB_ATOM_WINDOW, 32, std::uint32_t(windows.size()), windows.data());
        settle();
    }

  private:
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

    xcb_connection_t* connection_;
    xcb_screen_t* screen_;
};

TEST(X11PanelColour, TheCommonestColourOfThePanelsOnScreenAndOfThemAlone) {
    if (!testing::desktopApplication()) GTEST_SKIP() << "needs the X server the test script starts";
    Windows windows;
    ASSERT_TRUE(windows.ok());
    EXPECT_EQ(panelColour(), std::nullopt) << "no panel on screen";

    windows.add({0, 0, 400, 400}, 0x00FF00, false);         // a window, not a panel
    windows.add({450, 0, 500, 500}, 0xFF00FF, true, false); // a panel not shown
    const xcb_window_t wide = windows.add({0, 500, 300, 30}, 0x204060, true);
    const xcb_window_t narrow = windows.add({0, 600, 100, 30}, 0xE0E0E0, true);
    EXPECT_EQ(panelColour(), QColor(0x20, 0x40, 0x60));

    // Where a window manager lists what it manages, only those count.
    windows.list({narrow});
    EXPECT_EQ(panelColour(), QColor(0xE0, 0xE0, 0xE0));
    windows.list({wide, narrow});
    EXPECT_EQ(panelColour(), QColor(0x20, 0x40, 0x60));
}

} // namespace
} // namespace rondelix::platform::linux_desktop

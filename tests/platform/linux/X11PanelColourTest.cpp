#include "platform/linux/x11/X11PanelColour.h"

#include "platform/linux/DesktopApplication.h"
#include "platform/linux/XcbTestClient.h"

#include <gtest/gtest.h>
#include <vector>
#include <xcb/xcb.h>

namespace rondelix::platform::linux_desktop {
namespace {

class Windows : public testing::XcbTestClient {
  public:
    ~Windows() {
        xcb_delete_property(connection_, screen_->root, atom("_NET_CLIENT_LIST"));
        settle();
    }

    xcb_window_t add(QRect frame, std::uint32_t rgb, bool dock, bool shown = true) {
        const xcb_window_t window = makeWindow(screen_->root, frame, rgb);
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

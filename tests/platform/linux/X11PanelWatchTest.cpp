#include "platform/linux/x11/X11PanelWatch.h"

#include "platform/linux/DesktopApplication.h"
#include "platform/linux/XcbTestClient.h"

#include <QDeadlineTimer>
#include <gtest/gtest.h>
#include <xcb/xcb.h>

namespace rondelix::platform::linux_desktop {
namespace {

// A panel along the screen with an icon embedded in it, drawn by a client of
// the test's own, as a tray draws them.
class Panel : public testing::XcbTestClient {
  public:
    static constexpr QRect frame{0, 500, 300, 40};
    static constexpr QRect icon{100, 509, 22, 22};

    Panel() {
        panel_ = add(screen_->root, frame, 0x204060);
        icon_ = add(panel_, icon.translated(-frame.topLeft()), 0xFFFFFF);
        const xcb_atom_t type = atom("_NET_WM_WINDOW_TYPE"), dock = atom("_NET_WM_WINDOW_TYPE_DOCK");
        xcb_change_property(connection_, XCB_PROP_MODE_REPLACE, panel_, type, XCB_ATOM_ATOM, 32, 1, &dock);
        settle();
    }

    // Paints part of the panel, given on screen, anew in `rgb`, and waits
    // until the server has drawn it.
    void paint(const QRect& area, std::uint32_t rgb) {
        paint(panel_, area.translated(-frame.topLeft()), rgb);
    }
    void paintIcon(std::uint32_t rgb) { paint(icon_, QRect({}, icon.size()), rgb); }

  private:
    void paint(xcb_window_t window, const QRect& area, std::uint32_t rgb) {
        xcb_change_window_attributes(connection_, window, XCB_CW_BACK_PIXEL, &rgb);
        xcb_clear_area(connection_, 0, window, std::int16_t(area.x()), std::int16_t(area.y()),
                       std::uint16_t(area.width()), std::uint16_t(area.height()));
        settle();
    }
    xcb_window_t add(xcb_window_t parent, const QRect& at, std::uint32_t rgb) {
        const xcb_window_t added = makeWindow(parent, at, rgb);
        xcb_map_window(connection_, added);
        return added;
    }

    xcb_window_t panel_ = 0, icon_ = 0;
};

// The server has sent what it had to tell by the time a paint is drawn; a
// few passes of the event loop take in all of it.
void takeInEvents() {
    for (int i = 0; i < 5; ++i)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
}

bool told(const int& repaints, int before) {
    const QDeadlineTimer patience(15000);
    while (repaints == before && !patience.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    return repaints > before;
}

// The panel's colour is read around the icon and not from it; its repaints
// around the icon are told, the icon's own drawing and the panel's far end
// are not, nor anything once stopped; the panels on screen are followed
// whole where the icon's place is unknown.
TEST(X11PanelWatch, ReadsAndFollowsThePanelAroundTheIconAlone) {
    if (!testing::desktopApplication()) GTEST_SKIP() << "needs the X server the test script starts";
    Panel panel;
    ASSERT_TRUE(panel.ok());
    int repaints = 0;
    X11PanelWatch watch([&] { ++repaints; });
    // Followed, then looked at, as the tray does.
    ASSERT_TRUE(watch.follow(Panel::icon, 2)) << "the server has no damage extension";
    EXPECT_EQ(watch.colourAround(Panel::icon, 2), QColor(0x20, 0x40, 0x60));
    panel.paintIcon(0x000000);
    panel.paint({250, 500, 50, 40}, 0x204060);
    takeInEvents();
    EXPECT_EQ(repaints, 0) << "told of drawing away from the panel around the icon";
    panel.paint(Panel::frame, 0xE0E0E0);
    EXPECT_TRUE(told(repaints, 0)) << "the panel's repaint around the icon was not told";
    EXPECT_EQ(watch.colourAround(Panel::icon, 2), QColor(0xE0, 0xE0, 0xE0));

    watch.stop();
    const int stopped = repaints;
    panel.paint(Panel::frame, 0x204060);
    takeInEvents();
    EXPECT_EQ(repaints, stopped) << "told after it was stopped";

    ASSERT_TRUE(watch.follow({}, 2));
    EXPECT_EQ(watch.colourAround(Panel::icon, 2), QColor(0x20, 0x40, 0x60));
    panel.paint({250, 500, 50, 40}, 0xE0E0E0);
    EXPECT_TRUE(told(repaints, stopped)) << "a panel's repaint was not told";
}

} // namespace
} // namespace rondelix::platform::linux_desktop

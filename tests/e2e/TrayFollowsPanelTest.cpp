// The tray icon on the stock panel looks of Xfce, MATE and KDE, light and
// dark, before and after the desktop switches its theme: it must stand out
// from the panel (3:1 at least) without the program being restarted; and
// dims while paused from its own menu.

#include "e2e/EndToEndRig.h"
#include "e2e/StatusNotifierHostStandIn.h"
#include "platform/linux/PortalStandIn.h"
#include "support/ContrastRatio.h"

#include <QCoreApplication>
#include <QWidget>

namespace rondelix::e2e {
namespace {

// The strongest contrast in the panel's area against the panel itself,
// read from its corner.
double strongestContrast(const QImage& panel) {
    double best = 1;
    for (int y = 0; y < panel.height(); ++y)
        for (int x = 0; x < panel.width(); ++x)
            best = std::max(best, testsupport::contrastRatio(panel.pixelColor(x, y), panel.pixelColor(1, 1)));
    return best;
}

// Whether every pixel lies between the panel's colour and its text colour:
// an icon drawn in the text colour alone, as the panel asked.
bool onlyInTheTextColour(const QImage& panel, const QColor& text) {
    const double back = testsupport::relativeLuminance(panel.pixelColor(1, 1));
    const double ink = testsupport::relativeLuminance(text);
    for (int y = 0; y < panel.height(); ++y)
        for (int x = 0; x < panel.width(); ++x) {
            const double l = testsupport::relativeLuminance(panel.pixelColor(x, y));
            if (l < std::min(back, ink) - 0.02 || l > std::max(back, ink) + 0.02) return false;
        }
    return true;
}

struct Look {
    const char* name;
    QString tint;
    // What the panel publishes as its text colour; KDE's panel hosts its
    // items itself and publishes none.
    std::optional<QColor> text;
    // The settings portal's colour scheme: 1 dark, 2 light.
    unsigned scheme;
    // The panel took a new look but still publishes its old text colour, as
    // Xfce's panel does after its dark mode is turned on.
    bool staleText = false;
};

TEST_F(EndToEnd, TheTrayIconStandsOutOnEachStockPanelLookBeforeAndAfterAThemeSwitch) {
    SessionBus bus;
    ASSERT_FALSE(bus.address.empty()) << "dbus-daemon did not start (scripts/setup installs it)";
    testing::PortalStandIn portal(QString::fromStdString(bus.address));
    portal.values["org.freedesktop.appearance"] = {{"color-scheme", 2u}};
    ASSERT_TRUE(portal.start());
    const struct {
        const char* desktop;
        Look before, after;
    } desktops[] = {
        {"XFCE",
         {"xfce-light", "0xE8E8E7", QColor(60, 60, 60), 2},
         {"xfce-dark", "0x3C3C3C", QColor(Qt::white), 1}},
        {"MATE",
         {"mate-light", "0xF6F5F4", QColor(46, 52, 54), 2},
         {"mate-dark", "0x303030", QColor(238, 238, 236), 1}},
        {"XFCE",
         {"xfce-light-again", "0xE8E8E7", QColor(60, 60, 60), 2},
         {"xfce-dark-mode", "0x3C3C3C", QColor(60, 60, 60), 2, true}},
        {"KDE",
         {"kde-light-scheme", "0x31363B", std::nullopt, 2},
         {"kde-dark-scheme", "0x31363B", std::nullopt, 1}},
    };
    for (const auto& desktop : desktops) {
        SCOPED_TRACE(desktop.desktop);
        portal.change("org.freedesktop.appearance", "color-scheme", desktop.before.scheme);
        auto tray = std::make_unique<TrayPanel>(desktop.before.tint, desktop.before.text);
        ASSERT_TRUE(tray->running) << "trayer did not start: scripts/setup installs it";
        QProcessEnvironment environment;
        environment.insert("XDG_CURRENT_DESKTOP", desktop.desktop);
        Program program(home.path, std::string("tray-") + desktop.desktop, {}, environment);
        ASSERT_TRUE(waitServing([&] { return program.hasLine("Rondelix: ready."); }, patience))
            << program.log();

        QImage previous;
        for (const Look* look : {&desktop.before, &desktop.after}) {
            if (look == &desktop.after) {
                // The theme switches: a new panel look, a new colour scheme.
                portal.change("org.freedesktop.appearance", "color-scheme", look->scheme);
                if (look->tint != desktop.before.tint || look->text != desktop.before.text) {
                    tray.reset();
                    // The old panel's window may outlive its process for a moment.
                    ASSERT_TRUE(waitFor([] { return TrayPanel::manager() == XCB_WINDOW_NONE; }, patience));
                    tray = std::make_unique<TrayPanel>(look->tint, look->text);
                }
            }
            QImage shown;
            const bool stands = waitServing(
                [&] {
                    shown = grabScreen().copy(TrayPanel::area());
                    // After the switch, redrawn without a restart.
                    return strongestContrast(shown) >= 3.0 && shown != previous;
                },
                patience);
            // Settled: a panel publishes its colours just after it takes the
            // tray over, and the icon is drawn again in them.
            const auto inItsColour = [&](const QImage& image) {
                return !look->text || look->staleText || onlyInTheTextColour(image, *look->text);
            };
            waitServing(
                [&] {
                    shown = grabScreen().copy(TrayPanel::area());
                    return inItsColour(shown) && strongestContrast(shown) >= 3.0;
                },
                patience);
            shown.scaled(shown.size() * 4).save(artifact(std::string("e2e-tray-") + look->name + ".png"));
            EXPECT_TRUE(!look->text || look->staleText || onlyInTheTextColour(shown, *look->text))
                << look->name << ": not in its colour";
            EXPECT_TRUE(stands && strongestContrast(shown) >= 3.0)
                << look->name << ": contrast " << strongestContrast(shown) << "\n"
                << program.log();
            previous = shown;
        }
        EXPECT_EQ(program.stop(), 0);
    }
}

// A panel that hosts its items itself (Xfce's since 4.16) draws the mark
// as given, and nobody is told where. Its tray's manager goes on publishing
// the text colour of the panel's first look, as Xfce's does, when the panel
// turns dark with the desktop: the mark must follow the panel as it shows.
TEST_F(EndToEnd, TheMarkOfATrayHostedByThePanelStandsOutOnThePanelAsItShows) {
    SessionBus bus;
    ASSERT_FALSE(bus.address.empty()) << "dbus-daemon did not start (scripts/setup installs it)";
    testing::PortalStandIn portal(QString::fromStdString(bus.address));
    portal.values["org.freedesktop.appearance"] = {{"color-scheme", 2u}};
    ASSERT_TRUE(portal.start());
    testing::StatusNotifierHostStandIn host(QString::fromStdString(bus.address));
    ASSERT_TRUE(host.start());
    TrayPanel tray("0xF6F5F4", QColor(60, 60, 60));
    ASSERT_TRUE(tray.running) << "trayer did not start: scripts/setup installs it";
    QWidget panel;
    panel.setWindowFlags(Qt::FramelessWindowHint);
    panel.setAutoFillBackground(true);
    panel.setGeometry(0, 200, 400, 32);
    const auto paint = [&](const QColor& colour) {
        QPalette palette;
        palette.setColor(QPalette::Window, colour);
        panel.setPalette(palette);
        panel.show();
        const xcb_atom_t dock = TrayPanel::atom("_NET_WM_WINDOW_TYPE_DOCK");
        xcb_change_property(TrayPanel::connection(), XCB_PROP_MODE_REPLACE, panel.winId(),
                            TrayPanel::atom("_NET_WM_WINDOW_TYPE"), XCB_ATOM_ATOM, 32, 1, &dock);
        xcb_flush(TrayPanel::connection());
        return waitServing(
            [&] { return grabScreen().pixelColor(panel.mapToGlobal(panel.rect().center())) == colour; },
            patience);
    };
    ASSERT_TRUE(paint(QColor(0xF6, 0xF5, 0xF4)));
    Program program(home.path, "tray-hosted");
    ASSERT_TRUE(waitServing([&] { return program.hasLine("Rondelix: ready."); }, patience)) << program.log();

    const struct {
        const char* name;
        QColor panel;
        unsigned scheme;
    } looks[] = {{"light", QColor(0xF6, 0xF5, 0xF4), 2}, {"dark", QColor(0x1C, 0x1C, 0x1C), 1}};
    for (const auto& look : looks) {
        ASSERT_TRUE(paint(look.panel));
        portal.change("org.freedesktop.appearance", "color-scheme", look.scheme);
        // The mark's ink: its most opaque pixel.
        QColor ink;
        const bool stands = waitServing(
            [&] {
                const QImage icon = host.icon();
                ink = QColor(Qt::transparent);
                for (int y = 0; y < icon.height(); ++y)
                    for (int x = 0; x < icon.width(); ++x)
                        if (icon.pixelColor(x, y).alpha() > ink.alpha()) ink = icon.pixelColor(x, y);
                return ink.alpha() > 0 && testsupport::contrastRatio(ink, look.panel) >= 3.0;
            },
            patience);
        host.icon().save(artifact(std::string("e2e-tray-hosted-") + look.name + ".png"));
        EXPECT_TRUE(stands) << look.name << ": drawn in " << ink.name().toStdString() << " on "
                            << look.panel.name().toStdString() << ", "
                            << testsupport::contrastRatio(ink, look.panel) << ":1\n"
                            << program.log();
    }
    EXPECT_EQ(program.stop(), 0);
}

// The tray icon on a light panel, and on a dark one that publishes its text
// colour, awake and paused from its own menu.
TEST_F(EndToEnd, TheTrayIconTakesThePanelsTextColourAndDimsWhilePaused) {
    const struct {
        const char* name;
        QString tint;
        std::optional<QColor> text;
        bool darkInk;
    } panels[] = {{"light", "0xEEEEEE", std::nullopt, true}, {"dark", "0x222226", QColor(Qt::white), false}};
    for (const auto& panel : panels) {
        SCOPED_TRACE(panel.name);
        TrayPanel tray(panel.tint, panel.text);
        ASSERT_TRUE(tray.running) << "trayer did not start: scripts/setup installs it";
        const QRect area = TrayPanel::area();
        Program program(home.path, std::string("tray-") + panel.name);
        ASSERT_TRUE(program.waitForLine("Rondelix: ready.")) << program.log();
        EXPECT_FALSE(program.hasLine("no system tray")) << program.log();
        EXPECT_TRUE(mainWindowId().empty());

        // Full-strength ink: near black on the light panel, near white on the dark one.
        const auto ink = [&](const QImage& image) {
            int count = 0;
            for (int y = 0; y < image.height(); ++y)
                for (int x = 0; x < image.width(); ++x) {
                    const int lightness = QColor(image.pixel(x, y)).lightness();
                    count += panel.darkInk ? lightness < 60 : lightness > 200;
                }
            return count;
        };
        QImage awake;
        EXPECT_TRUE(waitFor([&] { return ink(awake = grabScreen().copy(area)) > 20; }, patience))
            << program.log();
        awake.scaled(area.size() * 4).save(artifact(std::string("e2e-tray-") + panel.name + "-panel.png"));

        // The icon's strongest part, where a click opens its menu; the first row pauses.
        QRect icon;
        for (int y = 0; y < awake.height(); ++y)
            for (int x = 0; x < awake.width(); ++x)
                if (ink(awake.copy(x, y, 1, 1)) == 1) icon |= QRect(x, y, 1, 1);
        const QPoint middle = area.topLeft() + icon.center();
        const QRect below(area.right() - 400, area.bottom() + 1, 400, 200);
        const QImage closed = grabScreen().copy(below);
        clickAt(middle);
        ASSERT_TRUE(waitFor([&] { return grabScreen().copy(below) != closed; }, patience))
            << "the menu did not open";
        // Drawn whole, it has the keys.
        stillScreen(below);
        xdotool("key Down Return");
        // Paused: no full-strength ink left, the mark still there in between.
        const auto faint = [](const QImage& image) {
            int count = 0;
            for (int y = 0; y < image.height(); ++y)
                for (int x = 0; x < image.width(); ++x) {
                    const int lightness = QColor(image.pixel(x, y)).lightness();
                    count += lightness > 70 && lightness < 190;
                }
            return count;
        };
        QImage paused;
        EXPECT_TRUE(waitFor(
            [&] {
                paused = grabScreen().copy(area);
                return ink(paused) == 0 && faint(paused) > 20;
            },
            patience));
        paused.scaled(area.size() * 4)
            .save(artifact(std::string("e2e-tray-") + panel.name + "-panel-paused.png"));
        // The menu now opens on the line that says so, written to be read.
        const QImage menuClosed = stillScreen(below).copy(below);
        movePointer({10, 500});
        clickAt(middle);
        ASSERT_TRUE(waitFor([&] { return grabScreen().copy(below) != menuClosed; }, patience))
            << "the menu did not open again";
        const QRect menu(area.right() - 800, area.top(), 800, 300);
        stillScreen(menu).copy(menu).save(
            artifact(std::string("e2e-tray-") + panel.name + "-menu-paused.png"));
        xdotool("key Escape");
        EXPECT_EQ(program.stop(), 0);
    }
}

} // namespace
} // namespace rondelix::e2e

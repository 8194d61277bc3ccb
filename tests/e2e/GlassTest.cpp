// The glass setting on the main window, under a compositor on a server of
// the test's own, over sharp stripes.

#include "EndToEndRig.h"
#include "app/ui/SidebarFooter.h"
#include "editor/ui/PreviewWheel.h"
#include "editor/ui/WheelPillColumn.h"
#include "platform/linux/BusResponder.h"
#include "platform/linux/PortalStandIn.h"

#include <QLabel>
#include <QListWidget>
#include <QScrollArea>
#include <cmath>
#include <iostream>

namespace rondelix {
namespace {

using namespace e2e;

// A private server with the stripes behind everything; picom is started and
// stopped by the test.
struct GlassDesk {
    explicit GlassDesk(const TestHome& home) : display(home.path), picom(display, home.path) {
        if (display.name.empty()) return;
        backdrop.setProcessEnvironment(display.environment());
        backdrop.start(RONDELIX_STRIPED_BACKDROP, {});
        ready = waitFor([&] { return backdrop.waitForReadyRead(50) && backdrop.readAll().contains("ready"); },
                        patience);
    }
    ~GlassDesk() {
        picom.stop();
        backdrop.kill();
        backdrop.waitForFinished(3000);
    }
    // A window of this title on this server, once it shows.
    // The visible window of this title on this server, or nothing; at once.
    std::string visibleWindow(const std::string& title) const {
        const std::string id = output("DISPLAY=" + display.name + " xdotool search --onlyvisible --name '^" +
                                      title + "$' 2>/dev/null");
        return id.substr(0, id.find('\n'));
    }
    std::string windowNamed(const std::string& title) const {
        std::string id;
        waitFor(
            [&] {
                id = output("DISPLAY=" + display.name + " xdotool search --onlyvisible --name '^" + title +
                            "$' 2>/dev/null");
                id = id.substr(0, id.find('\n'));
                return !id.empty() && frame(id).width() > 0;
            },
            patience);
        return id;
    }
    QRect frame(const std::string& id) const { return windowFrame(id, display.name); }
    // The window's pixels once they have stayed the same in every look for a
    // quarter of a second.
    QImage settled(const std::string& id) const {
        return steady([&] { return display.grab().copy(frame(id)); }, std::chrono::milliseconds(250),
                      [](const QImage& window) { return !window.isNull(); })
            .value;
    }
    // Whether the window has drawn its words (its page fades in after the
    // buttons): more dark pixels than the buttons' titles alone have.
    bool drawsText(const std::string& id) const {
        const QImage window = display.grab().copy(frame(id));
        long dark = 0;
        for (int y = 0; y < window.height(); ++y)
            for (int x = 0; x < window.width(); ++x)
                dark += qGray(window.pixel(x, y)) < 64;
        return dark > 3000;
    }
    bool showsText(const std::string& id) const {
        return waitFor([&] { return drawsText(id); }, patience);
    }
    // How many of the window's pixels change as it moves right by one stripe,
    // so that black lies behind it where white did: none where nothing behind
    // shows through. Only what is on the screen in both places counts: a
    // window as wide as the screen moves partly off it.
    long changedByAStripe(const std::string& id, const std::string& shot) const {
        const QRect before = frame(id);
        const QImage there = settled(id);
        display.xdotool("windowmove " + id + " " + std::to_string(before.x() + 4) + " " +
                        std::to_string(before.y()));
        if (!waitFor([&] { return frame(id).topLeft() == before.topLeft() + QPoint(4, 0); }, patience))
            return -1;
        const QImage moved = settled(id);
        there.save(artifact(shot));
        if (there.size() != moved.size()) return -1;
        const QRect screen = display.grab().rect();
        long changed = 0;
        for (int y = 0; y < there.height(); ++y)
            for (int x = 0; x < there.width(); ++x)
                if (screen.contains(before.topLeft() + QPoint(x + 4, y)))
                    changed += there.pixel(x, y) != moved.pixel(x, y);
        return changed;
    }

    // Says, as a compositor that blurs does, that windows asking for a blur
    // behind them get one: among the supported hints, or as KWin's blur
    // effect says it, with the property itself on the root window. picom
    // blurs only by a rule of the user's, and never says so; the glass shows
    // where it is said.
    enum class Announced { amongSupportedHints, onTheRootAsKWinDoes };
    void announceBlur(Announced way = Announced::amongSupportedHints) const {
        const std::string property =
            way == Announced::amongSupportedHints
                ? "-f _NET_SUPPORTED 32a -set _NET_SUPPORTED _KDE_NET_WM_BLUR_BEHIND_REGION"
                : "-f _KDE_NET_WM_BLUR_BEHIND_REGION 32c -set _KDE_NET_WM_BLUR_BEHIND_REGION 0";
        ASSERT_EQ(std::system(("DISPLAY=" + display.name + " xprop -root " + property).c_str()), 0);
    }

    PrivateDisplay display;
    QProcess backdrop;
    Compositor picom;
    bool ready = false;
};

// KWin's effects as it answers for them on the session bus.
struct KWinStandIn {
    explicit KWinStandIn(const std::string& address)
        : connection(QDBusConnection::connectToBus(QString::fromStdString(address), "kwin")),
          isEffectLoaded("org.kde.kwin.Effects", "isEffectLoaded", [this](const QVariantList& arguments) {
              return QVariant(arguments.value(0).toString() == "blur" && blurLoaded);
          }) {}
    ~KWinStandIn() { QDBusConnection::disconnectFromBus("kwin"); }
    bool start() {
        return connection.registerVirtualObject("/Effects", &isEffectLoaded) &&
               connection.registerService("org.kde.KWin");
    }

    bool blurLoaded = true;
    QDBusConnection connection;
    testing::BusResponder isEffectLoaded;
};

void writeGlass(const TestHome& home) {
    Config config = *decodeConfigBytes(readFile(home.configFolder() / "config.json"));
    config.behavior.liquidGlassEnabled = true;
    writeFile(home.configFolder() / "config.json", writeConfigFile(config));
}

double luminance(QRgb pixel) {
    const auto channel = [](int value) {
        const double c = value / 255.0;
        return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(qRed(pixel)) + 0.7152 * channel(qGreen(pixel)) + 0.0722 * channel(qBlue(pixel));
}

// The stripes behind lie at these screen columns: black where x % 8 < 4.
bool overBlack(int x) {
    return x % 8 < 4;
}

// The contrast of a text against what lies around it, over whichever
// stripe brings the two closer: in the box, the columns over one stripe
// colour at a time, their most common colour the background and the pixel
// furthest from it the text.
double worstContrast(const QImage& screen, const QRect& box) {
    double worst = 100;
    for (const bool black : {true, false}) {
        std::map<QRgb, int> counts;
        for (int y = box.top(); y <= box.bottom(); ++y)
            for (int x = box.left(); x <= box.right(); ++x)
                if (overBlack(x) == black) ++counts[screen.pixel(x, y)];
        if (counts.empty()) continue;
        const QRgb background = std::max_element(counts.begin(), counts.end(), [](auto& a, auto& b) {
                                    return a.second < b.second;
                                })->first;
        double text = luminance(background);
        for (const auto& [pixel, count] : counts)
            if (std::abs(luminance(pixel) - luminance(background)) > std::abs(text - luminance(background)))
                text = luminance(pixel);
        const double lighter = std::max(text, luminance(background)),
                     darker = std::min(text, luminance(background));
        worst = std::min(worst, (lighter + 0.05) / (darker + 0.05));
    }
    return worst;
}

// Whether the stripes show at the point: along 32 pixels of the row, the
// columns over white stripes are brighter than those over black ones.
bool stripesShow(const QImage& screen, QPoint point) {
    int overWhite = 0, overBlackStripes = 0;
    for (int x = point.x(); x < point.x() + 32; ++x)
        (overBlack(x) ? overBlackStripes : overWhite) += qGray(screen.pixel(x, point.y()));
    return (overWhite - overBlackStripes) / 16.0 > 15;
}

// Where a main window of this size, laid out as the program lays it out,
// shows only the page's own background (no control over it), and where a
// few of its texts lie, in the window's coordinates.
struct WindowMap {
    std::vector<QPoint> background;
    std::map<std::string, QRect> texts;
};

WindowMap mapWindow(const Config& config, QSize size) {
    testsupport::CoordinatorRig rig;
    rig.writeConfig(config);
    rig.open();
    rig.c().setMainTab(MainTab::wheels);
    SliceIconSources icons;
    MainWindow twin({rig.c(), icons}, {});
    twin.setAttribute(Qt::WA_DontShowOnScreen);
    twin.show();
    QApplication::processEvents();
    twin.resize(size);
    QApplication::processEvents();
    WindowMap map;
    // The pills are drawn by the column itself; the wheel may reach under the
    // column and the inspector where its slot is narrow.
    std::vector<QRect> drawn;
    if (auto* preview = twin.findChild<PreviewWheel*>())
        drawn.emplace_back(preview->mapTo(&twin, QPoint()) - QPoint(32, 0), preview->size() + QSize(32, 0));
    if (auto* column = twin.findChild<WheelPillColumn*>())
        for (const auto& [id, frame] : column->framesInSight())
            drawn.emplace_back(
                column->mapTo(&twin, QPoint(static_cast<int>(frame.x), static_cast<int>(frame.y))),
                QSize(static_cast<int>(frame.width) + 1, static_cast<int>(frame.height) + 1));
    for (const char* name : {"pillColumn", "inspector"}) {
        auto* area = twin.findChild<QScrollArea*>(name);
        if (!area) continue;
        const QRect box(area->mapTo(&twin, QPoint()), area->size());
        for (int y = box.top() + 8; y < box.bottom() - 8; y += 24)
            for (int x = box.left() + 8; x < box.right() - 40; x += 24) {
                // The whole stretch of row the stripes are looked for along.
                bool bare = x + 32 < size.width();
                for (int along = x; bare && along < x + 32; along += 4) {
                    QWidget* under = twin.childAt(along, y);
                    const bool covered = std::any_of(drawn.begin(), drawn.end(), [&](const QRect& shape) {
                        return shape.adjusted(-4, -4, 4, 4).contains(along, y);
                    });
                    bare = (under == area->viewport() || under == area->widget()) && !covered;
                }
                if (bare) map.background.emplace_back(x, y);
            }
    }
    auto* sidebar = twin.findChild<QListWidget*>("sidebar");
    for (int i = 0; sidebar && i < sidebar->count(); ++i)
        if (sidebar->item(i)->text() == "Settings" || sidebar->item(i)->text() == "Bindings")
            map.texts[sidebar->item(i)->text().toStdString()] =
                sidebar->visualItemRect(sidebar->item(i))
                    .translated(sidebar->viewport()->mapTo(&twin, QPoint()));
    for (QLabel* label : twin.findChildren<QLabel*>())
        if (label->isVisible() && label->text().startsWith("Hold your summon key"))
            map.texts["caption"] = QRect(label->mapTo(&twin, QPoint()), label->size());
    return map;
}

// The page's bare background points on the screen, away from the stripes'
// control window over the top left corner.
std::vector<QPoint> bareScreenPoints(const WindowMap& map, const QRect& window) {
    const QRect control(40, 40, 200, 200);
    std::vector<QPoint> points;
    for (const QPoint& point : map.background)
        if (!control.adjusted(-32, 0, 0, 0).contains(window.topLeft() + point))
            points.push_back(window.topLeft() + point);
    return points;
}

long stripesShowingAt(const QImage& screen, const std::vector<QPoint>& points) {
    return std::count_if(points.begin(), points.end(), [&](QPoint p) { return stripesShow(screen, p); });
}

TEST_F(EndToEnd, GlassShowsTheDesktopThroughTheWholeMainWindowUnderACompositor) {
    ASSERT_TRUE(Compositor::installed()) << "picom is not installed: scripts/setup installs it";
    writeGlass(home);
    GlassDesk desk(home);
    ASSERT_TRUE(desk.ready) << "no private X server with stripes";
    desk.announceBlur(GlassDesk::Announced::onTheRootAsKWinDoes);
    ASSERT_TRUE(desk.picom.start()) << desk.picom.said();
    Program program(home.path, "glass", {}, desk.display.environment());
    ASSERT_TRUE(program.waitForLine("Rondelix: ready.")) << program.log();
    const std::string id = desk.windowNamed("Rondelix");
    ASSERT_FALSE(id.empty()) << program.log();
    const QRect window = desk.frame(id);
    // The page fades in after the buttons; the window, drawn whole, stands still.
    ASSERT_TRUE(desk.showsText(id)) << program.log();
    desk.settled(id);
    const QImage screen = desk.display.grab();
    screen.copy(window).save(artifact("glass-my-wheels-compositor.png"));

    const Config config = *decodeConfigBytes(readFile(home.configFolder() / "config.json"));
    const WindowMap map = mapWindow(config, window.size());
    ASSERT_GT(map.background.size(), 20u);
    // The stripes' control window lies over the top left corner.
    const QRect control(40, 40, 200, 200);
    int seen = 0, shown = 0;
    for (const QPoint& point : map.background) {
        const QPoint onScreen = window.topLeft() + point;
        if (control.adjusted(-32, 0, 0, 0).contains(onScreen)) continue;
        ++seen;
        if (stripesShow(screen, onScreen))
            ++shown;
        else
            ADD_FAILURE() << "an opaque patch at " << point.x() << "," << point.y();
    }
    std::cout << "[ measured ] the desktop shows through at " << shown << " of " << seen
              << " background points of the page\n";
    for (const auto& [name, box] : map.texts) {
        const double contrast = worstContrast(screen, box.translated(window.topLeft()));
        std::cout << "[ measured ] " << name << " contrast " << contrast << ":1\n";
        EXPECT_GE(contrast, 4.5) << name;
    }
    EXPECT_EQ(program.stop(), 0);
}

// Where the compositor blurs nothing, the text of a window behind would read
// through the glass, so every window stays opaque there: the onboarding, the
// main window and the setup window its sidebar's pill opens, moved by one
// stripe over the stripes, change not one pixel.
TEST_F(EndToEnd, WindowsLetNothingThroughWhereTheCompositorBlursNothing) {
    ASSERT_TRUE(Compositor::installed()) << "picom is not installed: scripts/setup installs it";
    writeGlass(home);
    writeFile(home.configFolder() / "defaults.json", "{}"); // the onboarding opens at start
    const Config config = home.setTopSlotAction(MacroAction::SystemAction{"toggle-bluetooth"});
    GlassDesk desk(home);
    ASSERT_TRUE(desk.ready) << "no private X server with stripes";
    ASSERT_TRUE(desk.picom.start()) << desk.picom.said();
    Program program(home.path, "glass-side", {}, desk.display.environment());
    const std::string onboarding = desk.windowNamed("Welcome to Rondelix");
    ASSERT_FALSE(onboarding.empty()) << program.log();
    ASSERT_TRUE(desk.showsText(onboarding)) << program.log();
    EXPECT_EQ(desk.changedByAStripe(onboarding, "glass-side-onboarding.png"), 0);

    // Its automation not set up, the Bluetooth toggle's pill opens the setup window.
    desk.display.xdotool("key Escape");
    ASSERT_TRUE(waitFor([&] { return desk.frame(onboarding).width() <= 0; }, patience)) << program.log();
    const std::string mainId = desk.windowNamed("Rondelix");
    ASSERT_FALSE(mainId.empty()) << program.log();
    EXPECT_EQ(desk.changedByAStripe(mainId, "glass-side-main.png"), 0);
    const QRect main = desk.frame(mainId);
    const QPoint pill =
        main.topLeft() + measuredOnTwin(config, MainTab::wheels, main.size(), [](MainWindow& twin) {
            const auto* footer = twin.findChild<SidebarFooter*>();
            return footer ? footer->mapTo(&twin, footer->rect().center()) : QPoint();
        });
    desk.display.xdotool("mousemove " + std::to_string(pill.x()) + " " + std::to_string(pill.y()) +
                         " click 1");
    const std::string setup = desk.windowNamed("System Action Setup");
    ASSERT_FALSE(setup.empty()) << program.log();
    EXPECT_EQ(desk.changedByAStripe(setup, "glass-side-setup.png"), 0);
    EXPECT_EQ(program.stop(), 0);
}

// A compositor that starts or stops while the program runs changes the glass
// window at once: see-through while it runs, opaque and readable after.
TEST_F(EndToEnd, GlassFollowsACompositorThatStartsAndStopsWhileTheProgramRuns) {
    ASSERT_TRUE(Compositor::installed()) << "picom is not installed: scripts/setup installs it";
    writeGlass(home);
    GlassDesk desk(home);
    ASSERT_TRUE(desk.ready) << "no private X server with stripes";
    desk.announceBlur();
    Program program(home.path, "glass-follows", {}, desk.display.environment());
    ASSERT_TRUE(program.waitForLine("Rondelix: ready.")) << program.log();
    const std::string id = desk.windowNamed("Rondelix");
    ASSERT_FALSE(id.empty()) << program.log();
    const QRect window = desk.frame(id);
    const Config config = *decodeConfigBytes(readFile(home.configFolder() / "config.json"));
    const WindowMap map = mapWindow(config, window.size());
    const std::vector<QPoint> points = bareScreenPoints(map, window);
    ASSERT_GT(points.size(), 20u);
    const auto showing = [&](const QImage& screen) { return stripesShowingAt(screen, points); };
    const QRect heading = map.texts.at("Settings").translated(window.topLeft());

    ASSERT_TRUE(desk.showsText(id)) << program.log();
    desk.settled(id);
    const QImage bare = desk.display.grab();
    bare.copy(window).save(artifact("glass-before-compositor.png"));
    EXPECT_EQ(showing(bare), 0) << "see-through without a compositor";
    ASSERT_TRUE(desk.picom.start()) << desk.picom.said();
    EXPECT_TRUE(
        waitFor([&] { return showing(desk.display.grab()) == static_cast<long>(points.size()); }, patience))
        << "the compositor's start was not followed";
    desk.picom.stop();
    QImage after;
    EXPECT_TRUE(waitFor(
        [&] {
            after = desk.display.grab();
            return showing(after) == 0;
        },
        patience))
        << "the compositor's stop was not followed";
    after.copy(window).save(artifact("glass-after-compositor-stopped.png"));
    EXPECT_GE(worstContrast(after, heading), 4.5);
    EXPECT_TRUE(program.hasLine("Rondelix: a compositor started.")) << program.log();
    EXPECT_TRUE(program.hasLine("Rondelix: the compositor stopped.")) << program.log();
    EXPECT_EQ(program.stop(), 0);
}

// High contrast on the desktop asks for no see-through window: the glass
// goes while it lasts, told by a stand-in settings portal while the program
// runs under a compositor.
TEST_F(EndToEnd, HighContrastOnTheDesktopTurnsTheGlassOffWhileItLasts) {
    ASSERT_TRUE(Compositor::installed()) << "picom is not installed: scripts/setup installs it";
    writeGlass(home);
    SessionBus bus;
    ASSERT_FALSE(bus.address.empty()) << "dbus-daemon did not start (scripts/setup installs it)";
    testing::PortalStandIn portal(QString::fromStdString(bus.address));
    portal.values["org.freedesktop.appearance"] = {{"contrast", 1u}};
    ASSERT_TRUE(portal.start());
    GlassDesk desk(home);
    ASSERT_TRUE(desk.ready) << "no private X server with stripes";
    desk.announceBlur();
    ASSERT_TRUE(desk.picom.start()) << desk.picom.said();
    Program program(home.path, "glass-contrast", {}, desk.display.environment());
    ASSERT_TRUE(waitServing([&] { return program.hasLine("Rondelix: ready."); }, patience)) << program.log();
    const std::string id = desk.windowNamed("Rondelix");
    ASSERT_FALSE(id.empty()) << program.log();
    const QRect window = desk.frame(id);
    const Config config = *decodeConfigBytes(readFile(home.configFolder() / "config.json"));
    const std::vector<QPoint> points = bareScreenPoints(mapWindow(config, window.size()), window);
    ASSERT_GT(points.size(), 20u);
    const auto all = static_cast<long>(points.size());

    // The portal answers only while this process serves it.
    ASSERT_TRUE(waitServing([&] { return desk.drawsText(id); }, patience)) << program.log();
    desk.settled(id);
    const QImage contrasted = desk.display.grab();
    contrasted.copy(window).save(artifact("glass-high-contrast-compositor.png"));
    EXPECT_EQ(stripesShowingAt(contrasted, points), 0) << "see-through under high contrast";
    portal.change("org.freedesktop.appearance", "contrast", 0u);
    EXPECT_TRUE(waitServing([&] { return stripesShowingAt(desk.display.grab(), points) == all; }, patience))
        << "the end of high contrast was not followed";
    portal.change("org.freedesktop.appearance", "contrast", 1u);
    EXPECT_TRUE(waitServing([&] { return stripesShowingAt(desk.display.grab(), points) == 0; }, patience))
        << "high contrast was not followed";
    EXPECT_EQ(program.stop(), 0);
}

// KWin keeps its blur property on the root window after its blur effect is
// switched off, and only its word on the bus tells: a window shown after
// that is opaque, and turns see-through again once the effect, loaded anew,
// puts the property back. The program asks KWin while the test serves it.
TEST_F(EndToEnd, GlassFollowsKWinsBlurEffectBeingSwitchedOffAndOn) {
    ASSERT_TRUE(Compositor::installed()) << "picom is not installed: scripts/setup installs it";
    writeGlass(home);
    SessionBus bus;
    ASSERT_FALSE(bus.address.empty()) << "dbus-daemon did not start (scripts/setup installs it)";
    KWinStandIn kwin(bus.address);
    ASSERT_TRUE(kwin.start());
    GlassDesk desk(home);
    ASSERT_TRUE(desk.ready) << "no private X server with stripes";
    desk.announceBlur(GlassDesk::Announced::onTheRootAsKWinDoes);
    ASSERT_TRUE(desk.picom.start()) << desk.picom.said();
    Program program(home.path, "glass-kwin", {}, desk.display.environment());
    std::string id;
    const auto shown = [&] {
        id = desk.visibleWindow("Rondelix");
        return !id.empty() && desk.frame(id).width() > 0 && desk.drawsText(id);
    };
    ASSERT_TRUE(waitServing(shown, patience)) << program.log();
    const Config config = *decodeConfigBytes(readFile(home.configFolder() / "config.json"));
    const auto barePoints = [&] {
        return bareScreenPoints(mapWindow(config, desk.frame(id).size()), desk.frame(id));
    };
    std::vector<QPoint> points = barePoints();
    ASSERT_GT(points.size(), 20u);
    EXPECT_TRUE(waitServing(
        [&] { return stripesShowingAt(desk.display.grab(), points) == static_cast<long>(points.size()); },
        patience))
        << "opaque while KWin blurs";

    kwin.blurLoaded = false;
    desk.display.xdotool("windowfocus --sync " + id + " key ctrl+w");
    ASSERT_TRUE(waitServing([&] { return desk.visibleWindow("Rondelix").empty(); }, patience))
        << program.log();
    Program second(home.path, "glass-kwin-second", {}, desk.display.environment());
    ASSERT_TRUE(waitServing(shown, patience)) << program.log();
    points = barePoints();
    const QImage off = desk.settled(id);
    off.save(artifact("glass-kwin-blur-off.png"));
    EXPECT_EQ(stripesShowingAt(desk.display.grab(), points), 0)
        << "see-through with KWin's blur switched off";

    kwin.blurLoaded = true;
    desk.announceBlur(GlassDesk::Announced::onTheRootAsKWinDoes);
    EXPECT_TRUE(waitServing(
        [&] { return stripesShowingAt(desk.display.grab(), points) == static_cast<long>(points.size()); },
        patience))
        << "KWin's blur loaded anew was not followed";
    EXPECT_TRUE(second.hasLine("Rondelix is already running; its window was brought forward."))
        << second.log();
    EXPECT_EQ(program.stop(), 0);
}

} // namespace
} // namespace rondelix

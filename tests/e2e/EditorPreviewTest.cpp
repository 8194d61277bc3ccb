// My Wheels' preview wheel and the way to the Wheel Gallery and back, worked
// with the pointer and keys at screen positions, as a user works them.

#include "EndToEndRig.h"

#include <QScrollArea>
#include <cmath>
#include <set>

namespace rondelix::e2e {
namespace {

// The middle of a slot's sector, halfway between the hub and the rim, of a
// wheel drawn in `square` (slot 0 at the top, counting clockwise).
QPoint slotMiddle(const QRect& square, int position, int count) {
    const double angle = position * 2 * M_PI / count - M_PI / 2;
    const double radius = 0.35 * square.width();
    return square.center() + QPoint(static_cast<int>(std::lround(radius * std::cos(angle))),
                                    static_cast<int>(std::lround(radius * std::sin(angle))));
}

// The share of the disc inside the square that differs from the square's
// corner, where only the page shows: next to nothing when no wheel is drawn.
double drawnShare(const QImage& square) {
    const QRgb page = square.pixel(2, 2);
    const QPointF middle(square.width() / 2.0, square.height() / 2.0);
    int inside = 0, drawn = 0;
    for (int y = 0; y < square.height(); y += 3)
        for (int x = 0; x < square.width(); x += 3)
            if (std::hypot(x - middle.x(), y - middle.y()) < 0.45 * square.width()) {
                ++inside;
                drawn += square.pixel(x, y) != page;
            }
    return inside ? static_cast<double>(drawn) / inside : 0;
}

// The share of pixels that differ between two pictures of one area.
double changedShare(const QImage& a, const QImage& b) {
    int changed = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            changed += a.pixel(x, y) != b.pixel(x, y);
    return static_cast<double>(changed) / std::max(1, a.width() * a.height());
}

// What the screen shows in the factory accent colour within the area.
QRect accentIn(const QRect& area) {
    const QImage screen = grabScreen();
    QRect found;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x) {
            const QColor c = screen.pixelColor(x, y);
            if (c.blue() > 200 && std::abs(c.green() - 132) < 50 && c.red() < 90) found |= QRect(x, y, 1, 1);
        }
    return found;
}

class MyWheelsPointer : public EndToEnd {
  protected:
    Config config() const { return *decodeConfigBytes(readFile(home.configFolder() / "config.json")); }
    // Starts the program, which opens on My Wheels, and finds its wheel and
    // inspector on the screen.
    void open(const Config& config, const std::string& name) {
        writeFile(home.configFolder() / "config.json", writeConfigFile(config));
        program.emplace(home.path, name);
        id = readyMainWindow(*program);
        ASSERT_FALSE(id.empty()) << program->log();
        origin = windowOrigin(id);
        size = windowSize(id);
        wheel = partIn<PreviewWheel>(config, size).translated(origin);
        inspector = QRect(origin.x() + size.width() - 450, origin.y(), 450, size.height());
        ASSERT_GT(wheel.width(), 200);
        // The window is drawn once its wheel is.
        ASSERT_TRUE(waitFor([&] { return drawnShare(shot(wheel)) > 0.1; }, patience)) << "no wheel drawn";
        stillScreen(QRect(origin, size));
    }
    // The pointer over the hub, which belongs to no slot; the wheel at rest
    // there.
    void rest() {
        movePointer(wheel.center());
        stillScreen(wheel);
    }
    QImage shot(const QRect& area) const { return grabScreen().copy(area); }
    std::optional<Program> program;
    std::string id;
    QPoint origin;
    QSize size;
    QRect wheel, inspector;
};

class EditorPreview : public MyWheelsPointer, public ::testing::WithParamInterface<bool> {};

TEST_P(EditorPreview, HighlightsSelectsAndSwapsTheSlotUnderThePointer) {
    std::optional<WindowManager> manager;
    if (GetParam()) {
        manager.emplace();
        ASSERT_TRUE(manager->running) << "openbox did not start: scripts/setup installs it";
    }
    const std::string shots = std::string("editor-preview-") + (GetParam() ? "wm" : "bare");
    const Config start = config();
    open(start, shots);
    if (HasFatalFailure()) return;
    const int count = 8;

    rest();
    const QImage still = shot(wheel);
    const QPoint over = slotMiddle(wheel, 2, count);
    movePointer(over);
    const QRect underPointer(over - wheel.topLeft() - QPoint(20, 20), QSize(40, 40));
    EXPECT_TRUE(waitFor([&] { return shot(wheel).copy(underPointer) != still.copy(underPointer); }, patience))
        << "no highlight under the pointer";
    stillScreen(wheel).copy(wheel).save(artifact(shots + "-hover.png"));

    // Each slot clicked shows a card of its own; the first shows its card again.
    std::vector<QImage> cards;
    for (int position = 0; position < count; ++position) {
        const QImage before = grabScreen();
        clickAt(slotMiddle(wheel, position, count));
        // The first slot's card may be the one showing already.
        if (position > 0) {
            EXPECT_TRUE(screenChanges(before, inspector)) << "slot " << position << " shows no card";
        }
        rest();
        cards.push_back(stillScreen(inspector).copy(inspector));
    }
    grabScreen().save(artifact(shots + "-last-slot.png"));
    std::set<QByteArray> distinct;
    for (const QImage& card : cards)
        distinct.insert(QByteArray(reinterpret_cast<const char*>(card.constBits()), card.sizeInBytes()));
    EXPECT_EQ(distinct.size(), cards.size()) << "slots share a card";
    clickAt(slotMiddle(wheel, 0, count));
    rest();
    EXPECT_TRUE(waitFor([&] { return shot(inspector) == cards.front(); }, patience))
        << "the first slot's card changed";

    // Slot 1 dragged onto slot 3 swaps the two in the file.
    const QPoint from = slotMiddle(wheel, 1, count), to = slotMiddle(wheel, 3, count);
    xdotool("mousemove " + pointText(from) + " mousedown 1");
    for (int step = 1; step <= 8; ++step)
        xdotool("mousemove " + pointText(from + (to - from) * step / 8) + " sleep 0.03");
    movePointer(to);
    grabScreen().save(artifact(shots + "-dragging.png"));
    xdotool("mouseup 1");
    const auto labelAt = [](const Config& c, int position) {
        for (const Slice& slice : c.wheels.front().slices)
            if (slice.position == position) return slice.label;
        return std::string();
    };
    EXPECT_TRUE(waitFor(
        [&] {
            const auto onDisk = decodeConfigBytes(readFile(home.configFolder() / "config.json"));
            return onDisk && labelAt(*onDisk, 1) == labelAt(start, 3) &&
                   labelAt(*onDisk, 3) == labelAt(start, 1);
        },
        patience))
        << program->log();

    // A click on the next wheel's pill draws that wheel.
    rest();
    const QImage mainWheel = shot(wheel);
    clickAt(origin + pillIn(start, start.wheels[1].id, size));
    rest();
    EXPECT_TRUE(waitFor([&] { return changedShare(mainWheel, shot(wheel)) > 0.005; }, patience))
        << "the pill's wheel is not drawn";
    stillScreen(wheel).save(artifact(shots + "-next-wheel.png"));
    EXPECT_EQ(program->stop(), 0);
}

INSTANTIATE_TEST_SUITE_P(WithAndWithoutWindowManager, EditorPreview, ::testing::Bool(),
                         [](const auto& info) { return info.param ? "Managed" : "Bare"; });

// With more wheels than the pill column shows, Tab from the pills to the
// wheel, its arrows and a click on a slot leave the column where it is, the
// chosen pill in sight.
TEST_F(MyWheelsPointer, ASlotChangeLeavesThePillColumnWhereItIs) {
    Config many = config();
    for (int n = static_cast<int>(many.wheels.size()) + 1; n <= 99; ++n)
        many.wheels.push_back(Wheel{"wheel-" + std::to_string(n), "Wheel " + std::to_string(n), 8, {}, {}});
    many.lastUsedWheelId = "wheel-25";
    open(many, "pill-column");
    if (HasFatalFailure()) return;
    // The pills' side of the column: the wheel may reach under its other side.
    const QRect column =
        partIn<QScrollArea>(many, size, "pillColumn").translated(origin).adjusted(0, 0, -80, 0);
    // The chosen pill is the one in the accent colour; clicked, it gives the column the focus.
    const QPoint chosen = accentIn(column).center();
    ASSERT_FALSE(chosen.isNull());
    clickAt(chosen);
    const QImage first = stillScreen(inspector);
    // The arrows choose another slot, whose card the inspector shows.
    xdotool("key Tab Right Right");
    EXPECT_TRUE(screenChanges(first, inspector)) << "the arrows chose no slot";
    stillScreen(QRect(origin, size)).save(artifact("pill-column-tab-arrows.png"));
    EXPECT_NEAR(accentIn(column).center().y(), chosen.y(), 2) << "Tab and the arrows moved the pills";
    const QImage second = grabScreen();
    clickAt(slotMiddle(wheel, 5, 8));
    EXPECT_TRUE(screenChanges(second, inspector)) << "the click chose no slot";
    rest();
    stillScreen(QRect(origin, size)).save(artifact("pill-column-slot-clicked.png"));
    EXPECT_NEAR(accentIn(column).center().y(), chosen.y(), 2) << "a click on a slot moved the pills";
    EXPECT_EQ(program->stop(), 0);
}

// In the gallery, Tab from the list of wheels on to "Add to My Wheels"
// leaves the list where it is, the chosen row in sight.
TEST_F(MyWheelsPointer, TabFromTheGalleryListLeavesTheChosenRowInSight) {
    open(config(), "gallery-tab");
    if (HasFatalFailure()) return;
    rest();
    xdotool("windowactivate --sync " + id + " 2>/dev/null || true");
    const QRect window(origin, size);
    const QImage wheels = grabScreen();
    xdotool("key Down");
    ASSERT_TRUE(screenChanges(wheels, window)) << "the gallery did not open";
    // Past the sidebar's foot, the search and the categories to the wheels,
    // and down to the last.
    const QRect list(origin.x() + 220, origin.y(), 450, size.height());
    // The list is whole once the applications found installed are ticked in
    // green and sorted first: a late look-up would sort it again under the
    // keys.
    EXPECT_TRUE(waitFor(
        [&] {
            const QImage shown = grabScreen().copy(list);
            for (int y = 0; y < shown.height(); y += 2)
                for (int x = 0; x < shown.width(); x += 2)
                    if (const QColor c = shown.pixelColor(x, y);
                        c.green() > c.red() + 60 && c.green() > c.blue() + 30)
                        return true;
            return false;
        },
        patience))
        << "no application was found installed";
    const QImage gallery = stillScreen(window);
    xdotool("key Tab Tab Tab Tab End");
    ASSERT_TRUE(screenChanges(gallery, list)) << "the list showed no row chosen";
    stillScreen(window).save(artifact("gallery-tab-list.png"));
    const QImage before = shot(list);
    // Tab moves the focus on to the stage right of the list.
    const QRect stage(list.right() + 1, origin.y(), window.right() - list.right(), size.height());
    const QImage listed = grabScreen();
    xdotool("key Tab");
    EXPECT_TRUE(screenChanges(listed, stage)) << "Tab did not reach Add to My Wheels";
    stillScreen(window).save(artifact("gallery-tab-add.png"));
    EXPECT_LT(changedShare(before, shot(list)), 0.02);
    EXPECT_EQ(program->stop(), 0);
}

// Down the sidebar to the gallery and back, and from the gallery's toast
// after adding a wheel: each time My Wheels shows its wheel drawn.
TEST_F(MyWheelsPointer, TheWheelIsDrawnAgainOnComingBackFromTheGallery) {
    open(config(), "gallery-round-trip");
    if (HasFatalFailure()) return;
    rest();
    xdotool("windowactivate --sync " + id + " 2>/dev/null || true");
    const QImage before = shot(wheel);
    xdotool("key Down");
    ASSERT_TRUE(waitFor([&] { return changedShare(before, shot(wheel)) > 0.02; }, patience))
        << "the gallery did not open";
    stillScreen(QRect(origin, size));
    xdotool("key Up");
    QImage back;
    waitFor([&] { return changedShare(before, back = shot(wheel)) < 0.02; }, patience);
    grabScreen().save(artifact("gallery-round-trip-back.png"));
    EXPECT_GT(drawnShare(before), 0.3);
    EXPECT_LT(changedShare(before, back), 0.02) << "drawn share " << drawnShare(back);

    addFromGallery(id, "kaomoji", "gallery-round-trip");
    // View is the toast's one word in the accent colour, low in the page.
    const QRect toast(origin.x() + 220, origin.y() + size.height() - 160, size.width() - 220, 160);
    // It fades in; once it stands still, View takes a click.
    waitFor([&] { return !accentIn(toast).isEmpty(); }, patience);
    stillScreen(toast).save(artifact("gallery-round-trip-toast.png"));
    const QRect view = accentIn(toast);
    ASSERT_FALSE(view.isEmpty()) << "no toast with View";
    clickAt(view.center());
    rest();
    QImage viewed;
    waitFor(
        [&] {
            viewed = shot(wheel);
            return drawnShare(viewed) > 0.3 && changedShare(before, viewed) > 0.005;
        },
        patience);
    viewed = stillScreen(wheel).copy(wheel);
    grabScreen().save(artifact("gallery-round-trip-viewed.png"));
    EXPECT_GT(drawnShare(viewed), 0.3);
    EXPECT_GT(changedShare(before, viewed), 0.005) << "not the added wheel";
    EXPECT_EQ(program->stop(), 0);
}

} // namespace
} // namespace rondelix::e2e

#include "model/DefaultConfig.h"
#include "model/WheelState.h"
#include "overlay/OpenAnimation.h"
#include "overlay/PanelGeometry.h"
#include "overlay/ui/OverlayPanel.h"
#include "overlay/ui/SliceIconSources.h"
#include "overlay/ui/WheelView.h"

#include <QCoreApplication>
#include <QDir>
#include <QImage>
#include <QPainter>
#include <QRegion>
#include <QWindow>
#include <cmath>
#include <gtest/gtest.h>

using namespace rondelix;

namespace {

// Pixels covered.
int area(const QRegion& region) {
    int pixels = 0;
    for (const QRect& r : region)
        pixels += r.width() * r.height();
    return pixels;
}

} // namespace

// Without a compositor the window is cut to the disc, which grows with the
// spring: at rest exactly the ellipse Qt cuts, on the way a disc of the
// frame's size.
TEST(OverlayPanelShape, FollowsTheSpringAndRestsOnTheDisc) {
    for (const double diameter : {180.0, 321.0, 480.0}) {
        OverlayPanel panel({.diameter = diameter, .glass = false, .opaque = true}, {});
        const PanelGeometry geometry{diameter};
        const QRectF disc = QRectF(geometry.margin(), geometry.margin(), diameter, diameter).toAlignedRect();
        EXPECT_EQ(panel.windowHandle()->mask(), QRegion(disc.toRect(), QRegion::Ellipse)) << diameter;

        const OpenAnimation opening{.reduceMotion = false, .wheelDiameter = diameter};
        panel.playOpenAnimation(opening);
        for (const double t : {0.0, 0.05, 0.11, 0.2}) {
            panel.showOpenFrame(t);
            const QSizeF size = disc.size() * opening.scaleAt(t);
            const QRect box =
                QRectF(disc.center() - QPointF(size.width() / 2, size.height() / 2), size).toAlignedRect();
            SCOPED_TRACE(testing::Message() << diameter << " at " << t << " s");
            const QRegion cut = panel.windowHandle()->mask();
            const double perimeter = M_PI * box.width();
            EXPECT_EQ(cut.boundingRect(), box);
            EXPECT_NEAR(area(cut), M_PI * box.width() * box.height() / 4, perimeter / 10);
            // Qt's own ellipse is a polygon of rounded points: the two differ
            // by a pixel on some rows, never by a shifted or resized disc.
            EXPECT_LE(area(cut.xored(QRegion(box, QRegion::Ellipse))), 0.6 * perimeter);
        }
        panel.showOpenFrame(opening.scaleDuration());
        EXPECT_EQ(panel.windowHandle()->mask(), QRegion(disc.toRect(), QRegion::Ellipse)) << diameter;
    }
}

// Under a compositor the hub is of the ring's material, not a hole the
// desktop shows through: the two are one colour at one opacity.
TEST(OverlayPanelShape, TheHubTakesTheRingsMaterialUnderACompositor) {
    const Config config = DefaultConfig::factoryConfig();
    WheelState state;
    state.setActiveWheelId(config.wheels.front().id);
    SliceIconSources icons;
    constexpr double diameter = 320;
    OverlayPanel panel({.diameter = diameter, .glass = false, .opaque = false},
                       [&](double d, QWidget* parent) {
                           return new WheelView(
                               state, [&config] { return config; }, icons, d, parent);
                       });
    QImage image(panel.size(), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    panel.render(&image);
    const QPoint centre = image.rect().center();
    // Below the hub's name, and in the ring's band between two slices' icons.
    const QPoint hub = centre + QPoint(0, static_cast<int>(0.1 * diameter));
    const QPoint ring = centre + QPoint(0, static_cast<int>(0.47 * diameter));
    EXPECT_EQ(qAlpha(image.pixel(hub)), 255);
    EXPECT_EQ(qAlpha(image.pixel(ring)), 255);

    // As a compositor shows it at the default opacity over a striped desktop.
    QImage desktop(image.size(), QImage::Format_RGB32);
    QPainter painter(&desktop);
    for (int x = 0; x < desktop.width(); x += 40)
        painter.fillRect(x, 0, 20, desktop.height(), Qt::black),
            painter.fillRect(x + 20, 0, 20, desktop.height(), Qt::white);
    painter.setOpacity(Behavior{}.opacity);
    painter.drawImage(0, 0, image);
    painter.end();
    const QString folder = QCoreApplication::applicationDirPath() + "/artifacts";
    QDir().mkpath(folder);
    EXPECT_TRUE(desktop.save(folder + "/hub-material.png"));
}

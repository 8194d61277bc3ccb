#include "overlay/OpenAnimation.h"
#include "overlay/PanelGeometry.h"
#include "overlay/ui/OverlayPanel.h"

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

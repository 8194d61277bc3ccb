#include "model/DefaultConfig.h"
#include "model/WheelState.h"
#include "overlay/PanelGeometry.h"
#include "overlay/ui/OverlayPanel.h"
#include "overlay/ui/SliceIconPainter.h"
#include "overlay/ui/SliceIconSources.h"
#include "overlay/ui/SliceLabels.h"
#include "overlay/ui/WheelView.h"

#include <QImage>
#include <QPalette>
#include <cmath>
#include <gtest/gtest.h>

using namespace rondelix;

namespace {

double luminance(QRgb pixel) {
    const auto channel = [](int value) {
        const double c = value / 255.0;
        return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(qRed(pixel)) + 0.7152 * channel(qGreen(pixel)) + 0.0722 * channel(qBlue(pixel));
}

// The window's premultiplied pixel shown at the window's opacity over one
// stripe of the desktop behind it, as a compositor without blur shows it.
QRgb over(QRgb window, double opacity, int stripe) {
    const auto mix = [&](int channel) {
        return qRound(opacity * channel + (1 - opacity * qAlpha(window) / 255.0) * stripe);
    };
    return qRgb(mix(qRed(window)), mix(qGreen(window)), mix(qBlue(window)));
}

} // namespace

// Over black and white stripes behind a wheel at the default opacity, with
// no blur granted, every label keeps a contrast of at least 4.5:1 against
// the ring around it, in the light and the dark appearance.
TEST(LabelContrast, LabelsStayReadableOverAStripedDesktopWithoutBlur) {
    const Config config = DefaultConfig::factoryConfig();
    const Wheel& wheel = config.wheels.front();
    const double opacity = Behavior{}.opacity;
    ASSERT_DOUBLE_EQ(opacity, 0.9);
    for (const bool dark : {false, true}) {
        WheelState state;
        state.setActiveWheelId(wheel.id);
        SliceIconSources icons;
        constexpr double diameter = 320;
        OverlayPanel panel({.diameter = diameter, .glass = false, .opaque = false},
                           [&](double d, QWidget* parent) {
                               return new WheelView(
                                   state, [&config] { return config; }, icons, d, parent);
                           });
        QPalette palette = panel.palette();
        palette.setColor(QPalette::Window, dark ? QColor(40, 40, 42) : QColor(239, 239, 239));
        panel.setPalette(palette);
        QImage image(panel.size(), QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        panel.render(&image);

        const double margin = PanelGeometry{diameter}.margin();
        const WheelGeometry geometry{diameter};
        SliceIconPainter labels;
        for (const Slice& slice : wheel.slices) {
            const SlotArea slot{geometry, slice.position, wheel.sliceCount};
            const auto boxes = labels.labelBoxes(slice, geometry.iconSize(), slot, 1);
            ASSERT_FALSE(boxes.empty()) << slice.label;
            const QRect box = boxes.front().translated(margin, margin).toAlignedRect();
            // The ring is the label box's most common colour; the text its
            // pixel furthest from it.
            const QRgb ring = image.pixel(box.left() - 2, box.center().y());
            QRgb text = ring;
            for (int y = box.top(); y <= box.bottom(); ++y)
                for (int x = box.left(); x <= box.right(); ++x)
                    if (std::abs(luminance(image.pixel(x, y)) - luminance(ring)) >
                        std::abs(luminance(text) - luminance(ring)))
                        text = image.pixel(x, y);
            // Whichever stripe brings the two closest together.
            double worst = 100;
            for (const int textStripe : {0, 255})
                for (const int ringStripe : {0, 255}) {
                    const double a = luminance(over(text, opacity, textStripe));
                    const double b = luminance(over(ring, opacity, ringStripe));
                    worst = std::min(worst, (std::max(a, b) + 0.05) / (std::min(a, b) + 0.05));
                }
            EXPECT_GE(worst, 4.5) << (dark ? "dark " : "light ") << slice.label;
        }
    }
}

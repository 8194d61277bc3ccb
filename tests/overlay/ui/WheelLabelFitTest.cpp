#include "WheelRendering.h"
#include "gallery/WheelGallery.h"
#include "model/DefaultConfig.h"
#include "overlay/LabelRoom.h"
#include "overlay/WheelSwitcher.h"
#include "overlay/ui/HubPainter.h"
#include "overlay/ui/SliceIconPainter.h"
#include "overlay/ui/SliceLabels.h"

#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

using namespace rondelix;

namespace {

std::vector<Wheel> factoryAndGalleryWheels() {
    std::vector<Wheel> wheels = DefaultConfig::factoryConfig().wheels;
    for (const GalleryWheel& gallery : WheelGallery::all())
        wheels.push_back(gallery.wheel);
    return wheels;
}

// The hub drawn alone at the screen's pixel ratio: where its ink reaches
// past the hub's circle, in points.
double hubOverreach(const Wheel& wheel, double side, double dpr) {
    const WheelGeometry geometry{side};
    QImage image(qCeil(side * dpr), qCeil(side * dpr), QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(dpr);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    paintHub(painter, geometry, {wheel.name, wheelSwitcher({wheel}, wheel.id, side), Qt::blue},
             WheelPalette::forScheme(ColorScheme::light));
    painter.end();
    double overreach = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qAlpha(image.pixel(x, y)) > 24) {
                const double dx = (x + 0.5) / dpr - side / 2, dy = (y + 0.5) / dpr - side / 2;
                overreach = std::max(overreach, std::hypot(dx, dy) - geometry.hubRadius());
            }
    return overreach;
}

} // namespace

// Every factory and gallery label, and every wheel name, at the sizes the
// wheel can be set to and at 1x and 2x: the aimed (grown) label stays inside
// its slot's sector, and the name's capsule inside the hub.
TEST(WheelLabelFit, EveryFactoryAndGalleryLabelStaysInsideItsSlotAndEveryNameInsideTheHub) {
    const std::vector<Wheel> wheels = factoryAndGalleryWheels();
    ASSERT_GT(wheels.size(), 60u);
    SliceIconPainter painter;
    for (const double side : {240.0, 320.0, 480.0}) {
        const WheelGeometry geometry{side};
        for (const Wheel& wheel : wheels) {
            for (const Slice& slice : wheel.slices) {
                const SlotArea slot{geometry, slice.position, wheel.sliceCount, 0};
                for (const QRectF& box :
                     painter.labelBoxes(slice, geometry.iconSize(), slot, SliceLabels::emphasisedScale))
                    EXPECT_TRUE(slot.contains({box.left(), box.top(), box.right(), box.bottom()}))
                        << side << " " << wheel.name << ": " << slice.label;
            }
        }
        for (const double dpr : {1.0, 2.0}) {
            for (const Wheel& wheel : wheels)
                EXPECT_LE(hubOverreach(wheel, side, dpr), 0.5) << side << "@" << dpr << " " << wheel.name;
            WheelGraphic graphic;
            graphic.setColorScheme(ColorScheme::dark);
            for (const Wheel& wheel : DefaultConfig::factoryConfig().wheels) {
                auto inputs = WheelGraphic::Inputs::of(wheel, Behavior{});
                inputs.diameter = side;
                graphic.setInputs(inputs);
                graphic.resize(static_cast<int>(side), static_cast<int>(side));
                QImage image(qCeil(side * dpr), qCeil(side * dpr), QImage::Format_ARGB32);
                image.setDevicePixelRatio(dpr);
                image.fill(Qt::transparent);
                QPainter p(&image);
                graphic.paint(p);
                p.end();
                image.setDevicePixelRatio(1);
                rondelix::testing::saveArtifact(image,
                                                QStringLiteral("wheel-%1-%2-%3x.png")
                                                    .arg(QString::fromStdString(wheel.id))
                                                    .arg(side)
                                                    .arg(dpr),
                                                true);
            }
        }
    }
}

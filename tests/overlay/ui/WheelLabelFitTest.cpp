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
#include <QStringList>
#include <gtest/gtest.h>

using namespace rondelix;

namespace {

std::vector<Wheel> factoryAndGalleryWheels() {
    std::vector<Wheel> wheels = DefaultConfig::factoryConfig().wheels;
    for (const GalleryWheel& gallery : WheelGallery::all())
        wheels.push_back(gallery.wheel);
    return wheels;
}

// `count` wheels, the last of them open.
WheelSwitcher switcherOf(int count, double side) {
    std::vector<std::string> ids;
    for (int i = 0; i < count; ++i)
        ids.push_back("w" + std::to_string(i));
    return wheelSwitcher(ids, ids.back(), side);
}

// The hub drawn alone at the screen's pixel ratio: where its ink reaches
// past the hub's circle, in points, and how many of its pixels lie outside
// the box it claims (and its layer holds).
struct HubInk {
    double overreach = 0;
    int outsideBounds = 0;
};

HubInk hubInk(const HubContent& hub, double side, double dpr) {
    const WheelGeometry geometry{side};
    QImage image(qCeil(side * dpr), qCeil(side * dpr), QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(dpr);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    paintHub(painter, geometry, hub, WheelPalette::forScheme(ColorScheme::light));
    painter.end();
    // Only the hub's square and a margin around it can hold its ink.
    const int from = std::max(0, qFloor((side / 2 - geometry.hubRadius() - 24) * dpr));
    const int to = std::min(image.width(), qCeil((side / 2 + geometry.hubRadius() + 24) * dpr));
    const QRectF bounds = hubBounds(geometry, hub);
    const QRect claimed = QRectF(bounds.topLeft() * dpr, bounds.size() * dpr).toAlignedRect();
    HubInk ink;
    for (int y = from; y < to; ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = from; x < to; ++x) {
            if (qAlpha(line[x]) > 0 && !claimed.contains(x, y)) ++ink.outsideBounds;
            if (qAlpha(line[x]) > 24) {
                const double dx = (x + 0.5) / dpr - side / 2, dy = (y + 0.5) / dpr - side / 2;
                ink.overreach = std::max(ink.overreach, std::hypot(dx, dy) - geometry.hubRadius());
            }
        }
    }
    return ink;
}

void saveWheel(WheelGraphic& graphic, WheelGraphic::Inputs inputs, double side, double dpr,
               const QString& name) {
    inputs.diameter = side;
    graphic.setInputs(std::move(inputs));
    graphic.resize(static_cast<int>(side), static_cast<int>(side));
    QImage image(qCeil(side * dpr), qCeil(side * dpr), QImage::Format_ARGB32);
    image.setDevicePixelRatio(dpr);
    image.fill(Qt::transparent);
    QPainter p(&image);
    graphic.paint(p);
    p.end();
    image.setDevicePixelRatio(1);
    rondelix::testing::saveArtifact(image, name, true);
}

} // namespace

// Every factory and gallery label, and every wheel name, at the sizes the
// wheel can be set to and at 1x and 2x: the aimed (grown) label stays inside
// its slot's sector, "Add your own" inside the first slot at every slot
// count, and the switcher (from none up to more wheels than dots) over the
// name, both inside the hub.
TEST(WheelLabelFit, EveryLabelMarkerNameAndSwitcherStaysInsideItsArea) {
    const std::vector<Wheel> wheels = factoryAndGalleryWheels();
    ASSERT_GT(wheels.size(), 60u);
    constexpr int mostWheels = 12;
    SliceIconPainter painter;
    for (const double side : {240.0, 320.0, 480.0}) {
        const WheelGeometry geometry{side};
        ASSERT_LT(switcherDotLimit(side), mostWheels);
        for (const Wheel& wheel : wheels) {
            for (const Slice& slice : wheel.slices) {
                const SlotArea slot{geometry, slice.position, wheel.sliceCount, 0};
                for (const QRectF& box :
                     painter.labelBoxes(slice, geometry.iconSize(), slot, SliceLabels::emphasisedScale))
                    EXPECT_TRUE(slot.contains({box.left(), box.top(), box.right(), box.bottom()}))
                        << side << " " << wheel.name << ": " << slice.label;
            }
        }
        for (int count = 4; count <= 12; ++count) {
            const SlotArea slot{geometry, 0, count, 0};
            const auto boxes = painter.markerTextBoxes(slot, geometry.iconSize());
            EXPECT_FALSE(boxes.empty());
            for (const QRectF& box : boxes)
                EXPECT_TRUE(slot.contains({box.left(), box.top(), box.right(), box.bottom()}))
                    << side << ": \"Add your own\" in a wheel of " << count;
        }
        for (std::size_t i = 0; i < wheels.size(); ++i) {
            // Each name with no switcher and with one count of wheels, so
            // that every count meets long and short names.
            for (const int shown : {1, 2 + static_cast<int>(i) % (mostWheels - 1)}) {
                const HubContent hub{wheels[i].name, switcherOf(shown, side), Qt::blue};
                const HubLayout layout = hubLayout(geometry, hub);
                EXPECT_EQ(layout.switcher.style == WheelSwitcher::Style::hidden, shown == 1)
                    << side << " " << wheels[i].name << " of " << shown;
                if (shown > 1) {
                    EXPECT_LE(layout.switcherCapsule.bottom, layout.nameCapsule.top)
                        << side << " " << wheels[i].name << " of " << shown;
                }
                for (const double dpr : {1.0, 2.0}) {
                    const HubInk ink = hubInk(hub, side, dpr);
                    EXPECT_LE(ink.overreach, 0.5)
                        << side << "@" << dpr << " " << wheels[i].name << " of " << shown;
                    EXPECT_EQ(ink.outsideBounds, 0)
                        << side << "@" << dpr << " " << wheels[i].name << " of " << shown;
                }
            }
        }
        for (const double dpr : {1.0, 2.0}) {
            WheelGraphic graphic;
            graphic.setColorScheme(ColorScheme::dark);
            const std::vector<Wheel> factory = DefaultConfig::factoryConfig().wheels;
            for (const Wheel& wheel : factory) {
                auto inputs = WheelGraphic::Inputs::of(wheel, Behavior{});
                inputs.wheelIds = sharedWheelIds(factory);
                saveWheel(graphic, inputs, side, dpr,
                          QStringLiteral("wheel-%1-%2-%3x.png")
                              .arg(QString::fromStdString(wheel.id))
                              .arg(side)
                              .arg(dpr));
            }
            // The main wheel with "Add your own" in its emptied first slot,
            // with the most dots and with a count.
            Wheel main = factory.front();
            std::erase_if(main.slices, [](const Slice& s) { return s.position == 0; });
            for (const int count : {switcherDotLimit(side), mostWheels + 2}) {
                auto inputs = WheelGraphic::Inputs::of(main, Behavior{});
                std::vector<std::string> ids{main.id};
                for (int i = 1; i < count; ++i)
                    ids.push_back("w" + std::to_string(i));
                inputs.wheelIds = std::make_shared<const std::vector<std::string>>(std::move(ids));
                saveWheel(graphic, inputs, side, dpr,
                          QStringLiteral("wheel-fit-%1-%2-wheels-%3x.png").arg(side).arg(count).arg(dpr));
            }
        }
    }
}

// At the size a wheel opens at until the user changes it, every label of the
// factory wheels shows whole, however it wraps.
TEST(WheelLabelFit, FactoryLabelsShowWholeAtTheDefaultSize) {
    const WheelGeometry geometry{Behavior{}.wheelSize};
    SliceIconPainter painter;
    for (const Wheel& wheel : DefaultConfig::factoryConfig().wheels)
        for (const Slice& slice : wheel.slices) {
            const SlotArea slot{geometry, slice.position, wheel.sliceCount, 0};
            QStringList lines;
            for (const QString& line : painter.labelLines(slice, geometry.iconSize(), slot))
                lines << line;
            EXPECT_EQ(lines.join(' ').toStdString(),
                      QString::fromStdString(slice.label).replace('\n', ' ').toStdString())
                << wheel.name;
        }
}

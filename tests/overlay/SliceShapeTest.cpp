#include "overlay/SliceShape.h"

#include "overlay/WheelGeometry.h"

#include <cmath>
#include <gtest/gtest.h>
#include <numbers>

using rondelix::Point;
using rondelix::SliceShape;
using rondelix::wedgeAt;
using rondelix::WheelGeometry;

namespace {
constexpr double pi = std::numbers::pi;

// Degrees clockwise from the right-hand horizontal, 0 to 360.
double clockwiseDegrees(double radians) {
    const double d = std::fmod(radians * 180 / pi, 360.0);
    return d < 0 ? d + 360 : d;
}

Point polar(double side, double radius, double angle) {
    return {side / 2 + radius * std::cos(angle), side / 2 + radius * std::sin(angle)};
}
} // namespace

TEST(SliceShape, FourSlotsSpanTheQuartersStartingAtTheTop) {
    const SliceShape top{0, 4, 10, 20};
    EXPECT_NEAR(clockwiseDegrees(top.startAngle()), 225, 1e-9);
    EXPECT_NEAR(clockwiseDegrees(top.endAngle()), 315, 1e-9);
    const SliceShape right{1, 4, 10, 20};
    EXPECT_NEAR(clockwiseDegrees(right.startAngle()), 315, 1e-9);
    EXPECT_NEAR(clockwiseDegrees(right.endAngle()), 45, 1e-9);
    EXPECT_NEAR(SliceShape({2, 8, 0, 1}).midAngle(), 0, 1e-12);
}

TEST(SliceShape, AWheelWithoutSlotsHasNothingToDraw) {
    EXPECT_FALSE(SliceShape({0, 0, 10, 20}).isDrawable());
    EXPECT_FALSE(SliceShape({0, -3, 10, 20}).isDrawable());
    EXPECT_EQ(SliceShape({0, 0, 10, 20}).step(), 0);
}

TEST(WheelGeometry, MeasuresOfA320PointWheel) {
    const WheelGeometry g{320};
    EXPECT_DOUBLE_EQ(g.hubRadius(), 64);
    EXPECT_DOUBLE_EQ(g.outerRadius(), 158);
    EXPECT_DOUBLE_EQ(g.midRadius(), 111);
    EXPECT_DOUBLE_EQ(g.iconSize(), 28);
    EXPECT_NEAR(g.slotPoint(0, 8).x, 160, 1e-9);
    EXPECT_NEAR(g.slotPoint(0, 8).y, 49, 1e-9);
    EXPECT_NEAR(g.slotPoint(2, 8).x, 271, 1e-9);
    EXPECT_NEAR(g.slotPoint(2, 8).y, 160, 1e-9);
    EXPECT_NEAR(g.hubCentre().y, 160 - 0.42 * 64, 1e-9);
    EXPECT_DOUBLE_EQ(WheelGeometry{200}.hubNameFontSize(), 13);
    EXPECT_DOUBLE_EQ(WheelGeometry{500}.hubNameFontSize(), 16);
}

TEST(WedgeAt, PartExamplesAt320With8Slots) {
    EXPECT_EQ(wedgeAt({160, 40}, 320, 8), 0);
    EXPECT_EQ(wedgeAt({280, 160}, 320, 8), 2);
    EXPECT_EQ(wedgeAt({160, 160}, 320, 8), std::nullopt);
    EXPECT_EQ(wedgeAt({160, 100}, 320, 8), std::nullopt);
    EXPECT_EQ(wedgeAt({160, 3}, 320, 8), 0);
    EXPECT_EQ(wedgeAt({160, 1}, 320, 8), std::nullopt);
    // Exactly on both ring edges belongs to the ring.
    EXPECT_EQ(wedgeAt({160, 160 - 64}, 320, 8), 0);
    EXPECT_EQ(wedgeAt({160 + 158, 160}, 320, 8), 2);
}

TEST(WedgeAt, EverySlotCountAndSizeFindsEachSlotAcrossItsWholeSector) {
    for (const double side : {100.0, 240.0, 320.0, 480.0, 1000.0}) {
        const WheelGeometry g{side};
        for (int n = 4; n <= 12; ++n) {
            const double step = 2 * pi / n;
            for (int i = 0; i < n; ++i) {
                SCOPED_TRACE(testing::Message() << "side " << side << " n " << n << " slot " << i);
                const Point centre = g.slotPoint(i, n);
                EXPECT_EQ(wedgeAt(centre, side, n), i);
                const double mid = rondelix::slotAngle(i, n);
                for (const double r : {g.hubRadius() + 1e-6, g.midRadius(), g.outerRadius() - 1e-6}) {
                    EXPECT_EQ(wedgeAt(polar(side, r, mid - step / 2 + 1e-6), side, n), i);
                    EXPECT_EQ(wedgeAt(polar(side, r, mid + step / 2 - 1e-6), side, n), i);
                }
                EXPECT_EQ(wedgeAt(polar(side, g.hubRadius() - 1e-6, mid), side, n), std::nullopt);
                EXPECT_EQ(wedgeAt(polar(side, g.outerRadius() + 1e-6, mid), side, n), std::nullopt);
            }
        }
    }
}

TEST(WedgeAt, NoSlotsOrAPointOffTheWheelFindsNothing) {
    EXPECT_EQ(wedgeAt({160, 40}, 320, 0), std::nullopt);
    EXPECT_EQ(wedgeAt({160, 40}, 320, -2), std::nullopt);
    EXPECT_EQ(wedgeAt({160, 40}, 320, 1), 0);
    EXPECT_EQ(wedgeAt({-1e9, 5}, 320, 8), std::nullopt);
    EXPECT_EQ(wedgeAt({NAN, 5}, 320, 8), std::nullopt);
}

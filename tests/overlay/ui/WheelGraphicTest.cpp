#include "overlay/ui/WheelGraphic.h"

#include "WheelRendering.h"
#include "model/DefaultConfig.h"

#include <gtest/gtest.h>

using namespace rondelix;
using rondelix::testing::makeSlice;
using rondelix::testing::render;
using rondelix::testing::slotPixel;

namespace {

WheelGraphic::Inputs factoryWheel(std::optional<int> aimed) {
    const Config config = DefaultConfig::factoryConfig();
    WheelGraphic::Inputs inputs = WheelGraphic::Inputs::of(config.wheels.front(), config.behavior);
    inputs.wheelIds = sharedWheelIds(config.wheels);
    inputs.aimedPosition = aimed;
    inputs.isVisible = true;
    return inputs;
}

QImage renderFactory(ColorScheme scheme, std::optional<int> aimed, double accentStrength = 1.0,
                     bool bare = false) {
    WheelGraphic graphic;
    graphic.setReduceMotion(true);
    graphic.setColorScheme(scheme);
    auto inputs = factoryWheel(aimed);
    inputs.accentStrength = accentStrength;
    if (bare)
        for (Slice& slice : inputs.wheel.slices)
            slice.label.clear();
    graphic.setInputs(inputs);
    return render(graphic, 320);
}

} // namespace

TEST(WheelGraphicLook, FactoryWheelAimedSlotStandsOutAndTheHubStaysClear) {
    for (const ColorScheme scheme : {ColorScheme::dark, ColorScheme::light}) {
        const bool dark = scheme == ColorScheme::dark;
        SCOPED_TRACE(dark ? "dark" : "light");
        const QImage image = renderFactory(scheme, 3);
        EXPECT_TRUE(rondelix::testing::saveArtifact(image,
                                                    dark ? QStringLiteral("wheel-default-320-dark.png")
                                                         : QStringLiteral("wheel-default-320-light.png"),
                                                    dark));

        // The accent fill is opaque blue; its neighbours only catch the glow.
        const QColor aimed = slotPixel(image, 3, 8, 146);
        EXPECT_GT(aimed.alpha(), 230);
        EXPECT_GT(aimed.blue(), aimed.red() + 100);
        for (const int neighbour : {2, 4}) {
            const QColor other = slotPixel(image, neighbour, 8, 146);
            EXPECT_LT(other.alpha(), 180) << neighbour;
        }
        // Hub points away from the glow and the hub's capsules.
        for (const QPoint p : {QPoint(115, 180), QPoint(110, 160), QPoint(150, 105)})
            EXPECT_EQ(image.pixelColor(p).alpha(), 0) << p.x() << "," << p.y();
        // The rim is strongest at its start, upper right: white in dark, black in light.
        const QColor rim = image.pixelColor(qRound(160 + 159.2 * std::cos(-M_PI / 4)),
                                            qRound(160 + 159.2 * std::sin(-M_PI / 4)));
        EXPECT_GT(rim.alpha(), 40);
        if (dark)
            EXPECT_GT(rim.red(), 180);
        else
            EXPECT_LT(rim.red(), 80);
    }
}

TEST(WheelGraphicLook, NoAccentStrengthLeavesOnlyTheSheenOnTheAimedSlot) {
    const QImage strong = renderFactory(ColorScheme::light, 3, 1.0);
    const QImage none = renderFactory(ColorScheme::light, 3, 0.0, true);
    const QColor sheen = slotPixel(none, 3, 8, 120);
    EXPECT_LT(sheen.alpha(), 100);
    EXPECT_GT(sheen.alpha(), 0);
    EXPECT_GT(sheen.red(), 200);
    EXPECT_GT(slotPixel(strong, 3, 8, 120).alpha(), 230);
}

TEST(WheelGraphicLook, AWideNameStaysInsideTheHubAndLeavesTheAimedSlotVisible) {
    const auto nameOverSlotTwo = [](const std::string& name) {
        WheelGraphic graphic;
        graphic.setReduceMotion(true);
        graphic.setColorScheme(ColorScheme::light);
        auto inputs = factoryWheel(2);
        inputs.wheelIds.reset();
        inputs.wheel.name = name;
        graphic.setInputs(inputs);
        // Right of the hub, on the name's line: slot 2's sector.
        return render(graphic, 320).pixelColor(240, 133);
    };
    const QColor shortName = nameOverSlotTwo("A");
    const QColor wideName = nameOverSlotTwo("A very wide wheel name indeed");
    EXPECT_GT(shortName.blue(), shortName.red() + 100);
    // Wrapped, shrunk or cut, the name's capsule ends inside the hub.
    EXPECT_GT(wideName.blue(), wideName.red() + 100);
}

TEST(WheelGraphicLook, AimChangesEaseUnlessMotionIsReduced) {
    WheelGraphic graphic;
    graphic.setInputs(factoryWheel(std::nullopt));
    graphic.setInputs(factoryWheel(2));
    EXPECT_TRUE(graphic.isAnimating());
    EXPECT_EQ(graphic.highlighted(), 2);

    WheelGraphic reduced;
    reduced.setReduceMotion(true);
    reduced.setInputs(factoryWheel(std::nullopt));
    reduced.setInputs(factoryWheel(2));
    EXPECT_FALSE(reduced.isAnimating());
}

TEST(WheelGraphicLook, WithoutADiameterTheWheelFillsTheShorterSideCentred) {
    WheelGraphic graphic;
    graphic.resize(500, 300);
    EXPECT_EQ(graphic.square(), QRectF(100, 0, 300, 300));
    auto inputs = factoryWheel(std::nullopt);
    inputs.diameter = 200;
    graphic.setInputs(inputs);
    EXPECT_EQ(graphic.square(), QRectF(150, 50, 200, 200));
    EXPECT_EQ(graphic.sizeHint(), QSize(200, 200));
}

TEST(WheelGraphicBadInput, SlicesOutsideTheSlotsAreNotDrawnAndFillNothing) {
    WheelGraphic graphic;
    graphic.setReduceMotion(true);
    graphic.setColorScheme(ColorScheme::dark);
    WheelGraphic::Inputs inputs;
    inputs.wheel.id = "w";
    graphic.setInputs(inputs);
    const QImage empty = render(graphic, 320);

    inputs.wheel.slices = {makeSlice(99, "Far away", Icon::SfSymbol{"star.fill"}),
                           makeSlice(-1, "Before", Icon::Emoji{"🙂"})};
    graphic.setInputs(inputs);
    EXPECT_FALSE(graphic.isFilled(0));
    EXPECT_EQ(render(graphic, 320), empty);
}

TEST(WheelGraphicBadInput, OddCountsLabelsAndSymbolsDrawWithoutFaultAndLeaveTheHubClear) {
    const std::string hugeLabel(10 * 1024, 'W');
    for (const int count : {0, 1, 4, 12, 64, 1'000'000, -5}) {
        SCOPED_TRACE(count);
        WheelGraphic graphic;
        graphic.setReduceMotion(true);
        WheelGraphic::Inputs inputs;
        inputs.wheel.sliceCount = count;
        for (int p = 0; p < 64; ++p)
            inputs.wheel.slices.push_back(
                makeSlice(p, p % 2 ? hugeLabel : "",
                          p % 2 ? Icon(Icon::SfSymbol{"no.such.symbol"}) : Icon(Icon::Emoji{hugeLabel})));
        inputs.wheel.name = hugeLabel;
        graphic.setInputs(inputs);
        EXPECT_EQ(render(graphic, 320).pixelColor(160, 160).alpha(), 0);
    }
}

TEST(WheelGraphicBadInput, HugeLabelsStayNearTheirSlot) {
    std::string manyLines;
    for (int i = 0; i < 2000; ++i)
        manyLines += "line\n";
    WheelGraphic graphic;
    WheelGraphic::Inputs inputs;
    inputs.wheel.sliceCount = 4;
    inputs.wheel.slices = {makeSlice(0, std::string(10 * 1024, 'W'), Icon::None{}),
                           makeSlice(2, manyLines, Icon::None{})};
    inputs.showsHubLabel = false;
    graphic.setInputs(inputs);
    const QImage image = render(graphic, 320);
    // The top slot's one-line label is elided well inside the ring.
    for (int y = 40; y < 58; ++y)
        for (const int x : {0, 15, 30, 290, 305, 319})
            EXPECT_EQ(image.pixelColor(x, y).alpha(), 0) << x << "," << y;
    // The bottom slot's thousands of lines do not climb into the hub.
    for (int y = 100; y < 220; ++y)
        EXPECT_EQ(image.pixelColor(160, y).alpha(), 0) << y;
}

TEST(WheelGraphicBadInput, NonsenseSidesDrawNothing) {
    QImage blank(100, 100, QImage::Format_ARGB32);
    blank.fill(Qt::transparent);
    WheelGraphic graphic;
    for (const double diameter : {-10.0, 0.0, std::nan(""), 3.0}) {
        WheelGraphic::Inputs inputs;
        inputs.diameter = diameter;
        graphic.setInputs(inputs);
        EXPECT_EQ(render(graphic, 100), blank);
    }
}

#include "overlay/ui/WheelView.h"

#include "model/WheelState.h"

#include <QAccessible>
#include <gtest/gtest.h>

using namespace rondelix;

namespace {
Config twoWheels() {
    Config config;
    config.wheels.resize(2);
    config.wheels[0].id = "a";
    config.wheels[1].id = "b";
    config.lastUsedWheelId = "b";
    config.behavior.accentHex = "#FF0000";
    config.behavior.accentStrength = 0.4;
    return config;
}
} // namespace

TEST(WheelView, DrawsTheStatesWheelFromTheCurrentConfiguration) {
    WheelState state;
    Config config = twoWheels();
    SliceIconSources icons;
    WheelView view(
        state, [&] { return config; }, icons, 320.0);
    const auto& drawn = view.graphic().inputs();
    // "default" is not among the wheels: the last used one stands in.
    EXPECT_EQ(drawn.wheel.id, "b");
    EXPECT_EQ(drawn.activeWheelId, "default");
    EXPECT_EQ(drawn.wheelIds->size(), 2u);
    EXPECT_EQ(drawn.accent, Color::fromHex("#FF0000"));
    EXPECT_EQ(drawn.accentStrength, 0.4);
    EXPECT_EQ(drawn.diameter, 320.0);
    EXPECT_TRUE(drawn.prefetchFavicons);
    EXPECT_EQ(drawn.icons, &icons);
    EXPECT_FALSE(drawn.onTapSlice);

    state.setActiveWheelId("a");
    state.setAimedPosition(5);
    state.setVisible(true);
    EXPECT_EQ(view.graphic().inputs().wheel.id, "a");
    EXPECT_EQ(view.graphic().inputs().aimedPosition, 5);
    EXPECT_TRUE(view.graphic().inputs().isVisible);

    config.wheels[0].name = "Renamed";
    EXPECT_EQ(view.graphic().inputs().wheel.name, "Wheel");
    view.refresh();
    EXPECT_EQ(view.graphic().inputs().wheel.name, "Renamed");
    // A screen reader hears the wheel by its name and the aimed slice as its
    // value, following the aim.
    QAccessibleInterface* heard = QAccessible::queryAccessibleInterface(&view.graphic());
    EXPECT_EQ(heard->text(QAccessible::Name).toStdString(), "Renamed");
    config.wheels[0].slices.push_back({Uuid::generate(), 5, "Notes", Icon::SfSymbol{"star.fill"}, {}});
    view.refresh();
    EXPECT_EQ(heard->text(QAccessible::Value).toStdString(), "Notes");
    state.setAimedPosition(std::nullopt);
    EXPECT_EQ(heard->text(QAccessible::Value).toStdString(), "");
}

TEST(WheelView, WithoutWheelsDrawsTheFactoryMainWheelAndStopsListeningWhenGone) {
    WheelState state;
    SliceIconSources icons;
    {
        WheelView view(
            state, [] { return Config{}; }, icons, std::nullopt);
        EXPECT_EQ(view.graphic().inputs().wheel.id, "default");
        EXPECT_EQ(view.graphic().inputs().wheel.name, "Main");
        EXPECT_EQ(state.changed.size(), 1u);
    }
    EXPECT_EQ(state.changed.size(), 0u);
    state.setAimedPosition(1);
}

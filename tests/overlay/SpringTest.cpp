#include "overlay/Spring.h"

#include "overlay/WheelChoice.h"

#include <cmath>
#include <gtest/gtest.h>

using rondelix::Spring;

TEST(Spring, SettlesOnItsTargetWithALittleOvershoot) {
    Spring spring(0.32, 0.72);
    spring.jumpTo(0);
    spring.setTarget(100);
    double peak = 0;
    for (int frame = 0; frame < 120 && !spring.isSettled(); ++frame) {
        spring.advance(1.0 / 60);
        peak = std::max(peak, spring.value());
    }
    EXPECT_TRUE(spring.isSettled());
    EXPECT_EQ(spring.value(), 100);
    EXPECT_GT(peak, 100);
    EXPECT_LT(peak, 105);
}

TEST(Spring, IgnoresBrokenTimeStepsAndClampsLongOnes) {
    Spring spring(0.32, 0.72);
    spring.setTarget(10);
    spring.advance(NAN);
    spring.advance(-1);
    EXPECT_EQ(spring.value(), 0);
    spring.advance(1e9);
    EXPECT_TRUE(std::isfinite(spring.value()));
}

TEST(WheelChoice, DrawsTheActiveWheelElseTheLastUsedElseTheFirst) {
    rondelix::Config config;
    EXPECT_EQ(rondelix::wheelToDraw(config, "default"), nullptr);
    config.wheels.resize(3);
    config.wheels[0].id = "a";
    config.wheels[1].id = "b";
    config.wheels[2].id = "c";
    config.lastUsedWheelId = "c";
    EXPECT_EQ(rondelix::wheelToDraw(config, "b"), &config.wheels[1]);
    EXPECT_EQ(rondelix::wheelToDraw(config, "gone"), &config.wheels[2]);
    config.lastUsedWheelId = "gone too";
    EXPECT_EQ(rondelix::wheelToDraw(config, "gone"), &config.wheels[0]);
}

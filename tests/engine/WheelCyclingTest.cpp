#include "engine/WheelCycling.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>
#include <optional>
#include <utility>
#include <vector>

using namespace rondelix;

TEST(ScrollSwitch, StepsByTwoOverSensitivityAndKeepsTheRest) {
    ScrollSwitch scroll;
    EXPECT_EQ(scroll.add(-1.5, 0, false, 1.0, 3), 0);
    EXPECT_EQ(scroll.add(-1.5, 0, false, 1.0, 3), 1);
    EXPECT_DOUBLE_EQ(scroll.accumulated(), 1.0);
    scroll.reset();
    EXPECT_EQ(scroll.add(2, 0, false, 1.0, 3), -1);
    EXPECT_EQ(scroll.add(0, 2, false, 1.0, 3), 1);
    EXPECT_EQ(scroll.add(2, 2, false, 1.0, 3), -1);
    EXPECT_EQ(scroll.add(2, 0, true, 1.0, 3), 1);
    EXPECT_EQ(scroll.add(-0.1, 0, false, 0.0, 3), 0);
    EXPECT_EQ(scroll.add(-39.9, 0, false, 0.0, 3), 1) << "a floor of 0.05 makes the step 40";
}

TEST(ScrollSwitch, HugeAndNonFiniteDeltasStayBounded) {
    ScrollSwitch scroll;
    EXPECT_EQ(scroll.add(NAN, 0, false, 1.0, 3), 0);
    EXPECT_EQ(scroll.add(0, std::numeric_limits<double>::infinity(), false, 1.0, 3), 0);
    EXPECT_EQ(scroll.accumulated(), 0.0);
    // 14 whole steps backward round three wheels end two wheels back.
    EXPECT_EQ(scroll.add(-28.5, 0, false, 1.0, 3), 2);
    scroll.reset();
    // Coming full circle still switches: every step of one turn is taken.
    EXPECT_EQ(scroll.add(3, 0, false, 1.75, 2), -2);
    EXPECT_EQ(scroll.add(-13, 0, false, 1.0, 3), 3) << "six steps: one turn kept";
    const int steps = scroll.add(-1e300, 0, false, 1.0, 5);
    EXPECT_GE(steps, 1);
    EXPECT_LE(steps, 5);
    EXPECT_TRUE(std::isfinite(scroll.accumulated()));
    EXPECT_LT(std::abs(scroll.accumulated()), 2.0);
}

// The ends of the list are where stepping and numbering go wrong first.
TEST(WheelCycling, StepsWrapAtBothEndsAndEveryPlaceHasItsNumber) {
    std::vector<Wheel> wheels(3);
    wheels[0].id = "a";
    wheels[1].id = "b";
    wheels[2].id = "c";
    struct Step {
        const char* open;
        bool forward;
        std::size_t next;
    };
    for (const Step& s : {Step{"a", false, 2}, Step{"c", true, 0}, Step{"b", false, 0}, Step{"b", true, 2}})
        EXPECT_EQ(cycledWheelIndex(wheels, s.open, s.forward), s.next) << s.open << " " << s.forward;
    EXPECT_EQ(cycledWheelIndex(wheels, "gone", true), std::nullopt);
    EXPECT_EQ(cycledWheelIndex({wheels[0]}, "a", false), std::nullopt);

    for (const auto& [number, index] :
         {std::pair{1, std::optional<std::size_t>(0)}, std::pair{3, std::optional<std::size_t>(2)},
          std::pair{4, std::optional<std::size_t>()}, std::pair{0, std::optional<std::size_t>()}})
        EXPECT_EQ(numberedWheelIndex(wheels.size(), number), index) << number;
}

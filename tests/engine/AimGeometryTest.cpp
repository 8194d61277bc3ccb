#include "engine/AimGeometry.h"

#include <cmath>
#include <gtest/gtest.h>
#include <numbers>

using namespace rondelix::aim;

TEST(AimGeometry, ExactHalfWayDirectionsRoundAwayFromTheTopForEveryCount) {
    for (int n = 4; n <= 12; ++n) {
        for (int k = 0; k < n; ++k) {
            // Half way between slot k and slot k + 1, clockwise from the top.
            const double angle = (k + 0.5) * 2.0 * std::numbers::pi / n;
            const double x = std::sin(angle);
            const double y = std::cos(angle);
            // On the right half the half rounds on to the later slot, on the
            // left half back to the earlier one; straight down (odd counts)
            // belongs to the right half.
            const bool rightHalf = angle <= std::numbers::pi + 1e-12;
            const int expected = rightHalf ? (k + 1) % n : k;
            EXPECT_EQ(slotForDirection(x, y, n), expected) << "count " << n << " half after slot " << k;
        }
    }
}

TEST(AimGeometry, SlotCentresAndDegenerateDirections) {
    for (int n = 4; n <= 12; ++n)
        for (int k = 0; k < n; ++k) {
            const double angle = k * 2.0 * std::numbers::pi / n;
            EXPECT_EQ(slotForDirection(std::sin(angle) * 80, std::cos(angle) * 80, n), k);
        }
    EXPECT_FALSE(slotForDirection(0, 0, 8));
    EXPECT_FALSE(slotForDirection(1, 1, 0));
    EXPECT_FALSE(slotForDirection(NAN, 1, 8));
    EXPECT_FALSE(slotForDirection(INFINITY, INFINITY, 8));
}

TEST(AimGeometry, ArrowDirections) {
    const Arrows up{.up = true}, right{.right = true}, down{.down = true}, left{.left = true};
    EXPECT_EQ(slotForArrows({.right = true, .up = true}, 4), 1);
    EXPECT_EQ(slotForArrows({.left = true, .up = true}, 4), 3);
    EXPECT_EQ(slotForArrows({.right = true, .down = true}, 4), 2);
    EXPECT_EQ(slotForArrows({.left = true, .down = true}, 4), 2);
    const Arrows eight[] = {up,   {.right = true, .up = true},  right, {.right = true, .down = true},
                            down, {.left = true, .down = true}, left,  {.left = true, .up = true}};
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(slotForArrows(eight[i], 8), i);
    EXPECT_FALSE(slotForArrows({.left = true, .right = true}, 8));
    EXPECT_FALSE(slotForArrows({}, 8));
}

TEST(AimGeometry, SteppingTakesTheShorterWayAndOppositeGoesClockwise) {
    EXPECT_EQ(steppedAim(0, downArrow, 8), 1);
    EXPECT_EQ(steppedAim(7, downArrow, 8), 6);
    EXPECT_EQ(steppedAim(4, downArrow, 8), 4);
    EXPECT_EQ(steppedAim(3, upArrow, 8), 2);
    EXPECT_EQ(steppedAim(4, upArrow, 8), 5);
    EXPECT_EQ(steppedAim(0, leftArrow, 5), 4);
    EXPECT_EQ(steppedAim(4, rightArrow, 5), 0);
    EXPECT_EQ(steppedAim(2, 0, 5), 2);
    EXPECT_EQ(stepToward(3, 3, 8), 3);
}

TEST(AimGeometry, Keypad) {
    EXPECT_EQ(numpadStep(0, 3, 8), 1);
    EXPECT_EQ(numpadStep(3, 9, 8), 2);
    EXPECT_EQ(numpadStep(5, 9, 8), 6) << "opposite: clockwise";
    EXPECT_EQ(numpadStep(2, 8, 8), 1);
    EXPECT_EQ(numpadStep(2, 5, 8), 2);
    EXPECT_FALSE(numpadCompass(0));
    EXPECT_FALSE(numpadCompass(5));
    EXPECT_EQ(numpadDirectSlot(1, 8), 0);
    EXPECT_EQ(numpadDirectSlot(0, 10), 9);
    EXPECT_FALSE(numpadDirectSlot(0, 9));
    EXPECT_FALSE(numpadDirectSlot(9, 8));
}

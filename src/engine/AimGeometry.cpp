#include "engine/AimGeometry.h"

#include <cmath>
#include <numbers>

namespace rondelix::aim {

namespace {

int wrap(long value, int count) {
    const long m = value % count;
    return static_cast<int>(m < 0 ? m + count : m);
}

} // namespace

std::optional<int> slotForDirection(double x, double y, int slotCount) {
    if (slotCount < 1 || !std::isfinite(x) || !std::isfinite(y) || (x == 0.0 && y == 0.0))
        return std::nullopt;
    double q = std::atan2(x, y) / (2.0 * std::numbers::pi / slotCount);
    if (!std::isfinite(q)) return std::nullopt;
    // atan2 and the division leave a direction that lies exactly between two
    // slots a hair to either side of the half; snap it so that the half
    // rounds away from zero as the geometry says, not by floating-point luck.
    const double whole = std::floor(q);
    if (std::abs(q - whole - 0.5) < 1e-9) q = whole + 0.5;
    return wrap(std::lround(q), slotCount);
}

std::optional<int> slotForArrows(Arrows arrows, int slotCount) {
    const int x = (arrows.right ? 1 : 0) - (arrows.left ? 1 : 0);
    const int y = (arrows.up ? 1 : 0) - (arrows.down ? 1 : 0);
    if (x == 0 && y == 0) return std::nullopt;
    return slotForDirection(x, y, slotCount);
}

int stepToward(int current, int target, int slotCount) {
    if (slotCount < 1 || current == target) return current;
    const int cw = wrap(target - current, slotCount);
    const int ccw = wrap(current - target, slotCount);
    return ccw >= cw ? wrap(current + 1, slotCount) : wrap(current - 1, slotCount);
}

int steppedAim(int current, std::uint16_t arrow, int slotCount) {
    if (slotCount < 1) return current;
    switch (arrow) {
    case leftArrow:
        return wrap(current - 1, slotCount);
    case rightArrow:
        return wrap(current + 1, slotCount);
    case downArrow:
        return stepToward(current, slotCount / 2, slotCount);
    case upArrow:
        return stepToward(current, 0, slotCount);
    default:
        return current;
    }
}

std::optional<Arrows> numpadCompass(int digit) {
    switch (digit) {
    case 8:
        return Arrows{.up = true};
    case 2:
        return Arrows{.down = true};
    case 4:
        return Arrows{.left = true};
    case 6:
        return Arrows{.right = true};
    case 7:
        return Arrows{.left = true, .up = true};
    case 9:
        return Arrows{.right = true, .up = true};
    case 1:
        return Arrows{.left = true, .down = true};
    case 3:
        return Arrows{.right = true, .down = true};
    default:
        return std::nullopt;
    }
}

int numpadStep(int current, int digit, int slotCount) {
    switch (digit) {
    case 8:
        return steppedAim(current, upArrow, slotCount);
    case 2:
        return steppedAim(current, downArrow, slotCount);
    case 4:
        return steppedAim(current, leftArrow, slotCount);
    case 6:
        return steppedAim(current, rightArrow, slotCount);
    default:
        break;
    }
    const auto compass = numpadCompass(digit);
    if (!compass) return current;
    const auto target = slotForArrows(*compass, slotCount);
    return target ? stepToward(current, *target, slotCount) : current;
}

std::optional<int> numpadDirectSlot(int digit, int slotCount) {
    if (digit < 0 || digit > 9) return std::nullopt;
    const int slot = digit == 0 ? 9 : digit - 1;
    if (slot >= slotCount) return std::nullopt;
    return slot;
}

} // namespace rondelix::aim

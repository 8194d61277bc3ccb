#pragma once

#include <cstdint>
#include <optional>

namespace rondelix::aim {

// Arrow key codes.
inline constexpr std::uint16_t leftArrow = 123;
inline constexpr std::uint16_t rightArrow = 124;
inline constexpr std::uint16_t downArrow = 125;
inline constexpr std::uint16_t upArrow = 126;

inline constexpr bool isArrow(std::uint16_t code) {
    return code >= leftArrow && code <= upArrow;
}

// Which arrows are held (or which a keypad digit stands for).
struct Arrows {
    bool left = false;
    bool right = false;
    bool down = false;
    bool up = false;
};

// The slot a direction points at on a wheel of slotCount slots: slot 0 at the
// top, counting clockwise, x to the right and y upwards. A direction exactly
// between two slots goes to the one further from the top on its side (halves
// round away from zero). None for no direction or no slots.
std::optional<int> slotForDirection(double x, double y, int slotCount);

// The slot for a set of held arrows; none when they cancel out.
std::optional<int> slotForArrows(Arrows arrows, int slotCount);

// One slot along the shorter way from current towards target; an exactly
// opposite target is approached clockwise.
int stepToward(int current, int target, int slotCount);

// One step from current for an arrow key: left and right walk round the
// wheel, down and up move towards the bottom and the top.
int steppedAim(int current, std::uint16_t arrow, int slotCount);

// The directions a keypad digit stands for (8 up, 2 down, 4 left, 6 right,
// 7 9 1 3 the diagonals); none for 0, 5 and anything else.
std::optional<Arrows> numpadCompass(int digit);

// One step from current for a keypad digit: 8 2 4 6 step like the arrows, the
// diagonals step towards their slot. Current when no step can be computed.
int numpadStep(int current, int digit, int slotCount);

// The slot a keypad digit names directly: keypad 1 is slot 0 ... keypad 0 is
// slot 9; none when the wheel has no such slot.
std::optional<int> numpadDirectSlot(int digit, int slotCount);

} // namespace rondelix::aim

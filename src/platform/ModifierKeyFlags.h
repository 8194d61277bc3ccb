#pragma once

#include "platform/EventTaps.h"

#include <array>
#include <cstdint>

namespace rondelix::platform {

// A modifier key, by the system's key code, with the group flag it sets while
// held and the flag of its own side (Fn has no side).
struct ModifierKeyFlags {
    std::uint16_t keyCode;
    std::uint64_t group;
    std::uint64_t side;
};

inline constexpr std::array<ModifierKeyFlags, 9> modifierKeyFlags{{
    {54, EventFlags::command, EventFlags::rightCommand},
    {55, EventFlags::command, EventFlags::leftCommand},
    {56, EventFlags::shift, EventFlags::leftShift},
    {58, EventFlags::option, EventFlags::leftOption},
    {59, EventFlags::control, EventFlags::leftControl},
    {60, EventFlags::shift, EventFlags::rightShift},
    {61, EventFlags::option, EventFlags::rightOption},
    {62, EventFlags::control, EventFlags::rightControl},
    {63, EventFlags::function, 0},
}};

// Caps Lock locks rather than being held: it sets alphaShift while locked.
inline constexpr std::uint16_t capsLockKeyCode = 57;

// The row of a held modifier key, or nullptr (Caps Lock included).
constexpr const ModifierKeyFlags* modifierKeyFlagsFor(int keyCode) {
    for (const auto& m : modifierKeyFlags)
        if (m.keyCode == keyCode) return &m;
    return nullptr;
}

// Whether the key code is a modifier key, Caps Lock included: its presses
// and releases are flag changes rather than key events.
constexpr bool isModifierKeyCode(int keyCode) {
    return keyCode == capsLockKeyCode || modifierKeyFlagsFor(keyCode) != nullptr;
}

} // namespace rondelix::platform

#pragma once

#include <array>
#include <cstdint>

namespace rondelix {

// The flags word of an input event: device-independent group bits plus the
// left/right side bits of the modifier keys, as the event taps deliver it
// and as posted events carry it.
namespace ModifierFlag {
inline constexpr std::uint64_t alphaShift = 0x10000; // Caps Lock is on
inline constexpr std::uint64_t shift = 0x20000;
inline constexpr std::uint64_t control = 0x40000;
inline constexpr std::uint64_t option = 0x80000;
inline constexpr std::uint64_t command = 0x100000;
inline constexpr std::uint64_t function = 0x800000;

inline constexpr std::uint64_t leftControl = 0x01;
inline constexpr std::uint64_t leftShift = 0x02;
inline constexpr std::uint64_t rightShift = 0x04;
inline constexpr std::uint64_t leftCommand = 0x08;
inline constexpr std::uint64_t rightCommand = 0x10;
inline constexpr std::uint64_t leftOption = 0x20;
inline constexpr std::uint64_t rightOption = 0x40;
inline constexpr std::uint64_t rightControl = 0x2000;
} // namespace ModifierFlag

// The modifier keys by the system's key code.
namespace ModifierKeyCode {
inline constexpr std::uint16_t rightCommand = 54;
inline constexpr std::uint16_t leftCommand = 55;
inline constexpr std::uint16_t leftShift = 56;
inline constexpr std::uint16_t capsLock = 57;
inline constexpr std::uint16_t leftOption = 58;
inline constexpr std::uint16_t leftControl = 59;
inline constexpr std::uint16_t rightShift = 60;
inline constexpr std::uint16_t rightOption = 61;
inline constexpr std::uint16_t rightControl = 62;
inline constexpr std::uint16_t function = 63;
} // namespace ModifierKeyCode

// A modifier key that is held, with the group flag it sets while down and
// the flag of its own side (Fn has no side).
struct ModifierKeyFlags {
    std::uint16_t keyCode;
    std::uint64_t group;
    std::uint64_t side;
};

inline constexpr std::array<ModifierKeyFlags, 9> modifierKeyFlags{{
    {ModifierKeyCode::rightCommand, ModifierFlag::command, ModifierFlag::rightCommand},
    {ModifierKeyCode::leftCommand, ModifierFlag::command, ModifierFlag::leftCommand},
    {ModifierKeyCode::leftShift, ModifierFlag::shift, ModifierFlag::leftShift},
    {ModifierKeyCode::leftOption, ModifierFlag::option, ModifierFlag::leftOption},
    {ModifierKeyCode::leftControl, ModifierFlag::control, ModifierFlag::leftControl},
    {ModifierKeyCode::rightShift, ModifierFlag::shift, ModifierFlag::rightShift},
    {ModifierKeyCode::rightOption, ModifierFlag::option, ModifierFlag::rightOption},
    {ModifierKeyCode::rightControl, ModifierFlag::control, ModifierFlag::rightControl},
    {ModifierKeyCode::function, ModifierFlag::function, 0},
}};

// The row of a held modifier key, or nullptr: Caps Lock locks rather than
// being held, and sets alphaShift while locked.
constexpr const ModifierKeyFlags* modifierKeyFlagsFor(int keyCode) {
    for (const auto& m : modifierKeyFlags)
        if (m.keyCode == keyCode) return &m;
    return nullptr;
}

constexpr bool isHeldModifier(int keyCode) {
    return modifierKeyFlagsFor(keyCode) != nullptr;
}

// Whether the key's presses and releases arrive as flag changes rather than
// key events: the held modifiers and Caps Lock.
constexpr bool isModifierKeyCode(int keyCode) {
    return keyCode == ModifierKeyCode::capsLock || isHeldModifier(keyCode);
}

// The group flag a held modifier key sets, 0 for any other key.
constexpr std::uint64_t modifierGroupFlag(int keyCode) {
    const ModifierKeyFlags* row = modifierKeyFlagsFor(keyCode);
    return row ? row->group : 0;
}

} // namespace rondelix

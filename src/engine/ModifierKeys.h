#pragma once

#include "engine/KeyCodeSet.h"

#include <cstdint>

namespace rondelix::modifiers {

// Event flag words as the taps deliver them: one flag per modifier group,
// plus a flag per side (left or right key) where the keyboard reports it.
inline constexpr std::uint64_t shiftFlag = 0x20000;
inline constexpr std::uint64_t controlFlag = 0x40000;
inline constexpr std::uint64_t optionFlag = 0x80000;
inline constexpr std::uint64_t commandFlag = 0x100000;
inline constexpr std::uint64_t functionFlag = 0x800000;

inline constexpr std::uint16_t rightCommand = 54;
inline constexpr std::uint16_t leftCommand = 55;
inline constexpr std::uint16_t leftShift = 56;
inline constexpr std::uint16_t leftOption = 58;
inline constexpr std::uint16_t leftControl = 59;
inline constexpr std::uint16_t rightShift = 60;
inline constexpr std::uint16_t rightOption = 61;
inline constexpr std::uint16_t rightControl = 62;
inline constexpr std::uint16_t function = 63;

// Whether the code is one of the tracked modifier keys (Caps Lock is not).
bool isModifier(int code);

// The group flag of a modifier code, 0 for anything else.
std::uint64_t groupFlag(int code);

// Brings the held modifier codes in line with an event's flags. A group whose
// flag is set but whose side flags are all missing is left as it was: the
// event says the group is down without saying which key.
void updateHeld(KeyCodeSet& held, std::uint64_t flags);

} // namespace rondelix::modifiers

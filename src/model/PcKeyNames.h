#pragma once

#include <optional>
#include <string_view>

namespace rondelix {

// The keys of a PC keyboard beside the function keys. The system reads them
// as F13 to F15, but desktops act on Print Screen while F13 is a spare key,
// so they keep codes of their own that the system leaves unused; stored
// F13 to F15 codes keep naming F13 to F15.
namespace PcKeyCode {
inline constexpr int printScreen = 108;
inline constexpr int scrollLock = 112;
inline constexpr int pause = 66;
} // namespace PcKeyCode

// The names of the keys a PC keyboard has beyond the system's own table of
// key names: the lock and print keys, Menu, the volume keys, the keypad comma
// and the Japanese keys. Binding names and keystroke labels both read them
// from here.
std::optional<std::string_view> pcKeyName(int keyCode);

} // namespace rondelix

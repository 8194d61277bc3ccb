#pragma once

#include <optional>
#include <string_view>

namespace rondelix {

// The names of the keys a PC keyboard has beyond the system's own table of
// key names: the lock and print keys, Menu, the volume keys, the keypad comma
// and the Japanese keys. Print Screen, Scroll Lock and Pause share their
// codes with F13 to F15 and go by the names printed on them. Binding names
// and keystroke labels both read them from here.
std::optional<std::string_view> pcKeyName(int keyCode);

} // namespace rondelix

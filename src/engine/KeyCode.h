#pragma once

#include <cstdint>
#include <optional>
#include <set>

namespace rondelix::KeyCode {

// The arrow keys: left 123, right 124, down 125, up 126.
const std::set<std::uint16_t>& arrows();

// The wheel number a key of the number row selects (the 0 key is wheel 10),
// or nothing for every other key, the minus and equals keys included.
std::optional<int> numberValue(std::uint16_t keyCode);

// The digit of a keypad digit key, or nothing.
std::optional<int> keypadDigit(std::uint16_t keyCode);

} // namespace rondelix::KeyCode

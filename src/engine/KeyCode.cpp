#include "engine/KeyCode.h"

#include <array>

namespace rondelix::KeyCode {

namespace {

// Indexed from the first code of each run; -1 marks a key in the run that is
// not a digit. The codes follow key positions, not digit order.
constexpr std::uint16_t numberRowFirst = 18;
constexpr std::array<int, 12> numberRow{1, 2, 3, 4, 6, 5, -1, 9, 7, -1, 8, 10};

constexpr std::uint16_t keypadFirst = 82;
constexpr std::array<int, 11> keypad{0, 1, 2, 3, 4, 5, 6, 7, -1, 8, 9};

template <std::size_t N>
std::optional<int> lookUp(const std::array<int, N>& table, std::uint16_t first, std::uint16_t keyCode) {
    if (keyCode < first || keyCode - first >= static_cast<int>(N)) return std::nullopt;
    const int value = table[keyCode - first];
    return value < 0 ? std::nullopt : std::optional<int>(value);
}

} // namespace

const std::set<std::uint16_t>& arrows() {
    static const std::set<std::uint16_t> set{123, 124, 125, 126};
    return set;
}

std::optional<int> numberValue(std::uint16_t keyCode) {
    return lookUp(numberRow, numberRowFirst, keyCode);
}

std::optional<int> keypadDigit(std::uint16_t keyCode) {
    return lookUp(keypad, keypadFirst, keyCode);
}

} // namespace rondelix::KeyCode

#pragma once

// Mouse buttons by the system's number, as input events carry them: the
// extra buttons follow the middle one, up to the last a binding may hold.
namespace rondelix::MouseButton {

inline constexpr int left = 0;
inline constexpr int right = 1;
inline constexpr int middle = 2;
inline constexpr int last = 31;

} // namespace rondelix::MouseButton

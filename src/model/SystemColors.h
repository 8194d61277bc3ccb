#pragma once

#include "model/Color.h"

// The colours the program says things in, the same in every window and in the
// HUD: orange for a warning or something left to set up, red for a failure,
// a destructive action or a recording under way, green for what is done.
namespace rondelix::SystemColors {

inline constexpr Color orange{1.0, 149 / 255.0, 0.0};
inline constexpr Color red{1.0, 59 / 255.0, 48 / 255.0};
inline constexpr Color green{52 / 255.0, 199 / 255.0, 89 / 255.0};

} // namespace rondelix::SystemColors

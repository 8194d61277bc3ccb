#pragma once

#include "model/Config.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace rondelix {

// Which slices run code on the user's machine, and which are still empty.
// Pure functions of the value: they read no file, setting or system state.

// Link schemes that never count as running code (compared in lower case).
inline constexpr std::array<std::string_view, 3> safeURLSchemes{"http", "https", "mailto"};

// Told, instead of firing it, for a slice whose action only a newer version knows.
inline constexpr std::string_view newerVersionSentence = "This slice needs a newer version of Rondelix.";

// An action only a newer version knows counts as running code: nothing here
// can tell what it would do.
bool canRunCode(const MacroAction& action);
bool isUnconfigured(const MacroAction& action);

bool containsCode(const Wheel& wheel);

// One line per code-running slice, in slot order, naming the slice and what
// it runs, for the review shown before a wheel from elsewhere is added.
std::vector<std::string> codeWarnings(const Wheel& wheel);

} // namespace rondelix

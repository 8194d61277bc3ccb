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

// The folders holding the desktop entries of installed applications, as
// absolute paths. An application named by a path to a desktop entry inside
// one of them is an installed application; any other path names a file that
// firing hands to whatever runs it (a desktop entry elsewhere runs its own
// command line), so it counts as running code. With no folders given, every
// path does.
using ApplicationFolders = std::vector<std::string>;

// An action only a newer version knows counts as running code: nothing here
// can tell what it would do.
bool canRunCode(const MacroAction& action, const ApplicationFolders& installed = {});
bool isUnconfigured(const MacroAction& action);

bool containsCode(const Wheel& wheel, const ApplicationFolders& installed = {});

// One line per code-running slice, in slot order, naming the slice and what
// it runs, for the review shown before a wheel from elsewhere is added.
std::vector<std::string> codeWarnings(const Wheel& wheel, const ApplicationFolders& installed = {});

// True for an absolute path without "." or ".." parts to a ".desktop" file
// inside one of the folders (or a folder below one).
bool isInstalledApplicationEntry(std::string_view path, const ApplicationFolders& installed);

} // namespace rondelix

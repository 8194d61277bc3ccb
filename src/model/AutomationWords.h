#pragma once

#include "util/CurlyQuoted.h"

#include <string>
#include <string_view>

// The program's words for a named automation: an executable file in the
// user's automation folder, run by its file name. Every window that names
// them says the same, in lower case within a sentence.
namespace rondelix::AutomationWords {

inline constexpr std::string_view singular = "automation";
inline constexpr std::string_view plural = "automations";

// "the automation “Name”"
inline std::string named(std::string_view name) {
    return "the " + std::string(singular) + " " + curlyQuoted(name);
}

} // namespace rondelix::AutomationWords

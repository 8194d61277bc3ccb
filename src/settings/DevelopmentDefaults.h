#pragma once

#include "platform/UserDefaults.h"

#include <string>

// The Development page's own switches, kept in the user defaults.
namespace rondelix::DevelopmentDefaults {

inline constexpr platform::DefaultsKey<bool> doesNothing{"devDoesNothing"};
// Where the wheel opened before the text-caret switch was turned on.
inline constexpr platform::DefaultsKey<std::string> positionBeforeTextCaret{"devPositionBeforeTextCaret"};

} // namespace rondelix::DevelopmentDefaults

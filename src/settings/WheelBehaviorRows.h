#pragma once

#include "settings/SettingRow.h"

#include <vector>

namespace rondelix {

// The Wheel Behavior page: how summoning, aiming, firing, closing and
// switching between wheels behave, in the order shown.
std::vector<SettingSection> wheelBehaviorSections();

} // namespace rondelix

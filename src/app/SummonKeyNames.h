#pragma once

#include "model/Config.h"

#include <string>
#include <vector>

namespace rondelix {

namespace platform {
class KeyboardLayout;
}

// The readable names of the keys that summon a wheel, for guide texts: one
// name per enabled binding with keys (else the first binding), never empty.
std::vector<std::string> summonKeyNames(const std::vector<SummonBinding>& bindings,
                                        const platform::KeyboardLayout& layout);

// "A", "A or B", "A, B, or C".
std::string summonKeysPhrase(const std::vector<std::string>& names);

} // namespace rondelix

#include "app/SummonKeyNames.h"

#include "model/SummonKey.h"
#include "util/SpokenList.h"

namespace rondelix {

std::vector<std::string> summonKeyNames(const std::vector<SummonBinding>& bindings,
                                        const platform::KeyboardLayout& layout) {
    std::vector<const SummonBinding*> taken;
    for (const auto& binding : bindings)
        if (binding.enabled && SummonKey::canSummonWith(binding.keyCodes)) taken.push_back(&binding);
    if (taken.empty() && !bindings.empty()) taken.push_back(&bindings.front());

    std::vector<std::string> names;
    for (const SummonBinding* binding : taken) {
        std::string name = SummonKey::comboName(binding->keyCodes, layout);
        if (!name.empty() && name != "None") names.push_back(std::move(name));
    }
    if (names.empty()) names.push_back("Left Alt");
    return names;
}

std::string summonKeysPhrase(const std::vector<std::string>& names) {
    return spokenList(names);
}

} // namespace rondelix

#include "app/SummonKeyNames.h"

#include "model/SummonKey.h"

namespace rondelix {

std::vector<std::string> summonKeyNames(const std::vector<SummonBinding>& bindings,
                                        const platform::KeyboardLayout& layout) {
    std::vector<const SummonBinding*> taken;
    for (const auto& binding : bindings)
        if (binding.enabled && !binding.keyCodes.empty()) taken.push_back(&binding);
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
    if (names.empty()) return {};
    if (names.size() == 1) return names.front();
    if (names.size() == 2) return names[0] + " or " + names[1];
    std::string phrase;
    for (std::size_t i = 0; i + 1 < names.size(); ++i)
        phrase += (i == 0 ? "" : ", ") + names[i];
    return phrase + ", or " + names.back();
}

} // namespace rondelix

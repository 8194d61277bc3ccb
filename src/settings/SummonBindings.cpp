#include "settings/SummonBindings.h"

#include "model/SummonKey.h"
#include "store/ConfigStore.h"

#include <algorithm>

namespace rondelix {

bool isLastWorkingBinding(const Config& config, const Uuid& id) {
    const auto works = [](const SummonBinding& b) {
        return b.enabled && SummonKey::canSummonWith(b.keyCodes);
    };
    const auto self = std::ranges::find(config.bindings, id, &SummonBinding::id);
    if (self == config.bindings.end() || !works(*self)) return false;
    return std::ranges::none_of(config.bindings,
                                [&](const SummonBinding& b) { return b.id != id && works(b); });
}

void addBinding(ConfigStore& store) {
    store.mutate([](Config& config) {
        config.bindings.push_back(SummonBinding{Uuid::generate(), {}, 100, false});
    });
}

} // namespace rondelix

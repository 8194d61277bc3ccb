#include "settings/BehaviorSettings.h"

#include "store/ConfigStore.h"

namespace rondelix {

const Behavior& BehaviorSettings::behavior() const {
    return store_.config().behavior;
}

bool BehaviorSettings::isShown(const SettingRow& row) const {
    return !row.shownWhen || row.shownWhen(behavior());
}

bool BehaviorSettings::isOn(const SettingRow& row) const {
    return behavior().*row.flag;
}

void BehaviorSettings::setOn(const SettingRow& row, bool on) {
    store_.mutate([&](Config& config) { config.behavior.*row.flag = on; });
}

int BehaviorSettings::sliderStep(const SettingRow& row) const {
    return row.scale.stepNear(row.value(behavior()));
}

std::string BehaviorSettings::valueText(const SettingRow& row) const {
    return row.valueText(behavior());
}

void BehaviorSettings::setSliderStep(const SettingRow& row, int step) {
    const double value = row.scale.valueAt(step);
    store_.mutate([&](Config& config) { row.setValue(config.behavior, value); });
}

int BehaviorSettings::chosen(const SettingRow& row) const {
    return row.chosen(behavior());
}

void BehaviorSettings::choose(const SettingRow& row, int option) {
    if (option < 0 || option >= static_cast<int>(row.options.size())) return;
    store_.mutate([&](Config& config) { row.choose(config.behavior, option); });
}

} // namespace rondelix

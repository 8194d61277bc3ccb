#pragma once

#include "model/Behavior.h"
#include "settings/SettingRow.h"

namespace rondelix {

class ConfigStore;

// Reads and writes the rows of a settings table. Every change is one mutation
// of the store, which clamps, saves and tells every observer; nothing enters
// the wheel undo history.
class BehaviorSettings {
  public:
    explicit BehaviorSettings(ConfigStore& store) : store_(store) {}

    const Behavior& behavior() const;
    bool isShown(const SettingRow& row) const;

    bool isOn(const SettingRow& row) const;
    void setOn(const SettingRow& row, bool on);

    // The slider's position on its grid, and the text beside it.
    int sliderStep(const SettingRow& row) const;
    std::string valueText(const SettingRow& row) const;
    void setSliderStep(const SettingRow& row, int step);

    int chosen(const SettingRow& row) const;
    void choose(const SettingRow& row, int option);

  private:
    ConfigStore& store_;
};

} // namespace rondelix

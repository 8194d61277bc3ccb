#include "settings/SettingRow.h"

#include "settings/ValueText.h"

#include <utility>

namespace rondelix {

SettingRow toggleRow(SettingText text, bool Behavior::*flag) {
    SettingRow row;
    row.control = SettingRow::Control::toggle;
    row.text = std::move(text);
    row.flag = flag;
    return row;
}

SettingRow millisecondsRow(SettingText text, SliderScale scale, int Behavior::*field) {
    SettingRow row;
    row.control = SettingRow::Control::slider;
    row.text = std::move(text);
    row.scale = scale;
    row.value = [field](const Behavior& b) { return static_cast<double>(b.*field); };
    row.setValue = [field](Behavior& b, double v) { b.*field = ValueText::truncatedMilliseconds(v); };
    row.valueText = [field](const Behavior& b) { return ValueText::milliseconds(b.*field); };
    return row;
}

SettingRow percentRow(SettingText text, SliderScale scale, double Behavior::*field) {
    SettingRow row;
    row.control = SettingRow::Control::slider;
    row.text = std::move(text);
    row.scale = scale;
    row.value = [field](const Behavior& b) { return b.*field; };
    row.setValue = [field](Behavior& b, double v) { b.*field = v; };
    row.valueText = [field](const Behavior& b) { return ValueText::percent(b.*field); };
    return row;
}

} // namespace rondelix

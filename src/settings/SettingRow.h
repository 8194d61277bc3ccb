#pragma once

#include "model/Behavior.h"
#include "settings/SliderScale.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace rondelix {

// The label of a settings row: a symbol, a title and an optional line of
// explanation under it.
struct SettingText {
    std::string title;
    std::string symbol;
    std::optional<std::string> subtitle;
};

// One row of a settings page that edits one field of the behaviour settings:
// a switch, a slider or a choice. Pages describe their rows as tables of these
// and the views draw whatever the table says.
struct SettingRow {
    enum class Control { toggle, slider, choice };

    Control control = Control::toggle;
    SettingText text;

    // A switch.
    bool Behavior::*flag = nullptr;

    // A slider: the field as the slider shows it, how a slider value is
    // stored, and the text beside the slider.
    SliderScale scale;
    std::function<double(const Behavior&)> value;
    std::function<void(Behavior&, double)> setValue;
    std::function<std::string(const Behavior&)> valueText;

    // A choice among named options: which one shows, and how picking one is stored.
    std::vector<std::string> options;
    std::function<int(const Behavior&)> chosen;
    std::function<void(Behavior&, int)> choose;

    // The row shows only while this holds; always when empty. A hidden row's
    // setting keeps its value.
    std::function<bool(const Behavior&)> shownWhen;
};

// A group of rows under a header, with an optional explanation below it.
struct SettingSection {
    std::string header;
    std::vector<SettingRow> rows;
    std::optional<std::string> footer;
};

// Row builders for the common shapes.
SettingRow toggleRow(SettingText text, bool Behavior::*flag);
// A slider over whole milliseconds; shows "300 ms".
SettingRow millisecondsRow(SettingText text, SliderScale scale, int Behavior::*field);
// A slider over a fraction; shows "90%".
SettingRow percentRow(SettingText text, SliderScale scale, double Behavior::*field);

} // namespace rondelix

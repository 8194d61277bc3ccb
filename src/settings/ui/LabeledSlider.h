#pragma once

#include "settings/SettingRow.h"
#include "settings/SliderScale.h"

#include <QWidget>
#include <functional>

class QLabel;
class QSlider;

namespace rondelix {

// A slider row: its label on the left; on the right a slider that moves only
// along its step grid and the value text, which the page formats.
class LabeledSlider : public QWidget {
  public:
    LabeledSlider(const SettingText& text, SliderScale scale, QWidget* parent = nullptr);

    // Shows a value without telling anyone.
    void display(int step, const std::string& valueText);

    // The user moved the slider to a step of its grid.
    std::function<void(int step)> onStep;
    // True when a drag starts, false when it ends.
    std::function<void(bool editing)> onEditingChanged;

    QSlider* slider() const { return slider_; }

  private:
    QSlider* slider_;
    QLabel* valueText_;
};

} // namespace rondelix

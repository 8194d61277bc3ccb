#pragma once

#include "editor/SliceFormInputs.h"

#include <QString>
#include <functional>
#include <string>
#include <vector>

class QFrame;
class QLabel;
class QPushButton;
class QWidget;

namespace rondelix {
class ElidingButton;
}

namespace rondelix::SliceFormWidgets {

// A small wrapped line in the placeholder colour, under a control.
QLabel* captionLabel(const QString& text, QWidget* parent);

// A label in the placeholder colour, for the name of what a row shows: one
// line, cut in the middle where the row is too narrow for it, the whole name
// as the tooltip.
QLabel* quietLabel(QWidget* parent);

// A toggle that is on is filled in the accent colour, its title in the
// colour that reads on it; off, it is a plain button.
void fillWhenChecked(QPushButton* toggle);

// Fills a button's menu with titled sections; the checked row shows a check
// mark. The old menu goes once its own signal has finished.
void setMenu(ElidingButton* button, const std::vector<SliceFormInputs::MenuSection>& sections,
             const std::function<void(const std::string&)>& choose);

// Draws the field's frame around a field inside `frame`, which shows the
// field's focus.
void framedField(QFrame& frame, QWidget& field);

// The frame of the form's fields.
inline constexpr const char* fieldFrameStyle =
    "background: palette(base); border: 1px solid palette(mid); border-radius: 6px;";

} // namespace rondelix::SliceFormWidgets

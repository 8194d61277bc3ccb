#pragma once

#include "model/SystemColors.h"
#include "qtshared/QtColor.h"

#include <QColor>
#include <QFont>
#include <QString>
#include <string_view>

class QAbstractButton;
class QLabel;
class QWidget;

// The text styles the settings pages share.
namespace rondelix::SettingsText {

// The red of actions that stop, remove or reset.
inline const QColor destructive = toQColor(SystemColors::red);

// The font at a multiple of its size, with a weight.
QFont scaled(QFont font, double factor, QFont::Weight weight = QFont::Normal);
// The colour of explanations and captions.
QColor secondary(const QWidget& widget);
void setColour(QWidget& widget, const QColor& colour);
// Gives the button the symbol, in its text colour (set the colour first).
void setSymbol(QAbstractButton& button, std::string_view symbol);
// A caption: smaller, in the secondary colour, wrapping onto as many lines as it needs.
QLabel* caption(const QString& text, QWidget* parent);

} // namespace rondelix::SettingsText

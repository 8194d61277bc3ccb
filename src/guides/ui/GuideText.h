#pragma once

#include "model/Color.h"

#include <QColor>
#include <QPalette>
#include <QString>

class QLabel;
class QWidget;

// The text sizes of the guide windows, in pixels: the windows have a fixed
// size, so their texts are sized to fit it whatever the desktop's font scale.
namespace rondelix::GuideText {

inline constexpr int largeTitle = 26;
inline constexpr int title = 22;
inline constexpr int title2 = 17;
inline constexpr int title3 = 15;
inline constexpr int headline = 13;
inline constexpr int callout = 12;
inline constexpr int caption = 11;

// A centred label of that size that wraps onto as many lines as it needs.
QLabel* label(const QString& text, int pixels, bool bold = false, QWidget* parent = nullptr);
// The colour of explanations and captions.
QLabel* secondary(QLabel* label);

// What the guides' panels and cards are filled with: a tenth of a mid grey
// over the window. Text on them is made readable against it.
QColor panelColour(const QPalette& palette);
inline constexpr const char* panelFill = "rgba(127,127,127,0.10)";

} // namespace rondelix::GuideText

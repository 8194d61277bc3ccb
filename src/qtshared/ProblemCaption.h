#pragma once

#include "model/SystemColors.h"
#include "qtshared/QtColor.h"

#include <QColor>
#include <QLabel>
#include <QPalette>
#include <optional>
#include <string>

namespace rondelix {

// A line beside a control that says why what the user asked of it did not
// happen: in the warning colour, selectable so that a path or an address in it
// can be copied, and hidden while there is nothing to say.
class ProblemCaption final : public QLabel {
  public:
    ProblemCaption(const char* objectName, QWidget* parent) : QLabel(parent) {
        setObjectName(objectName);
        setWordWrap(true);
        setTextFormat(Qt::PlainText);
        setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
        QFont small = font();
        small.setPointSizeF(small.pointSizeF() * 0.85);
        setFont(small);
        // Orange as the HUD's warnings, deepened as far as it takes to read on the page.
        QPalette ink = palette();
        ink.setColor(QPalette::WindowText, readableText(SystemColors::orange, ink.color(QPalette::Window)));
        setPalette(ink);
        hide();
    }

    // None hides the line.
    void say(const std::optional<std::string>& sentence) {
        setText(sentence ? QString::fromStdString(*sentence) : QString());
        setVisible(sentence.has_value());
    }
};

} // namespace rondelix

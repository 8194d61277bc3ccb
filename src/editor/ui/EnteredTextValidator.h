#pragma once

#include "util/EnteredText.h"

#include <QValidator>

namespace rondelix {

// Keeps control characters out of a one-line name field as they are typed
// or pasted; the caret stays after what was entered.
class EnteredTextValidator : public QValidator {
  public:
    using QValidator::QValidator;

    State validate(QString& input, int& position) const override {
        const QString kept = cleaned(input);
        if (kept != input) {
            position = static_cast<int>(cleaned(input.left(position)).size());
            input = kept;
        }
        return Acceptable;
    }

  private:
    static QString cleaned(const QString& text) {
        return QString::fromStdString(enteredText(text.toStdString(), false));
    }
};

} // namespace rondelix

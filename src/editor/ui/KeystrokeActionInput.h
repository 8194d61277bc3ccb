#pragma once

#include "editor/SliceFormInputs.h"
#include "editor/ui/ActionInput.h"

#include <utility>
#include <vector>

class QLabel;
class QLineEdit;
class QPushButton;

namespace rondelix {

// The key combination a keystroke slice sends: shown large, recorded from a
// key press, or put together from the modifier toggles and the key field.
class KeystrokeActionInput final : public ActionInput {
  public:
    KeystrokeActionInput(ActionInputContext context, QWidget* parent);
    void showAction(const MacroAction& action) override;

  private:
    void setModifier(SliceFormInputs::Modifier modifier, bool on);
    void typeKey(const QString& text);

    QLabel* display_;
    QPushButton* record_;
    std::vector<std::pair<SliceFormInputs::Modifier, QPushButton*>> toggles_;
    QLineEdit* keyField_;
};

} // namespace rondelix

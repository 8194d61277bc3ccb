#pragma once

#include "editor/ui/ActionInput.h"

class QComboBox;
class QLabel;
class QLineEdit;

namespace rondelix {

// The named automation a slice runs: a menu of the installed ones, or a field
// for the exact name while none is installed; and the buttons that open the
// automations folder and the setup of the ones system actions need.
class AutomationActionInput final : public ActionInput {
  public:
    AutomationActionInput(ActionInputContext context, QWidget* parent);
    void showAction(const MacroAction& action) override;

  private:
    QLineEdit* field_;
    QLabel* fieldCaption_;
    QComboBox* picker_;
};

} // namespace rondelix

#pragma once

#include "editor/ui/ActionInput.h"

class QLabel;

namespace rondelix {

// The application an app slice opens: its name and the button that chooses another.
class AppActionInput final : public ActionInput {
  public:
    AppActionInput(ActionInputContext context, QWidget* parent);
    void showAction(const MacroAction& action) override;

  private:
    QLabel* name_;
};

} // namespace rondelix

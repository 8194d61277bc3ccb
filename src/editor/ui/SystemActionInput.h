#pragma once

#include "editor/ui/ActionInput.h"

namespace rondelix {

class ElidingButton;

// The system action a slice performs, chosen from a menu of the catalogue's sections.
class SystemActionInput final : public ActionInput {
  public:
    SystemActionInput(ActionInputContext context, QWidget* parent);
    void showAction(const MacroAction& action) override;

  private:
    ElidingButton* menu_;
};

} // namespace rondelix

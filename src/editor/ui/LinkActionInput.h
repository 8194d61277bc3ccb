#pragma once

#include "editor/ui/ActionInput.h"

class QLineEdit;

namespace rondelix {

// The address a URL slice opens.
class LinkActionInput final : public ActionInput {
  public:
    LinkActionInput(ActionInputContext context, QWidget* parent);
    void showAction(const MacroAction& action) override;

  private:
    QLineEdit* field_;
};

} // namespace rondelix

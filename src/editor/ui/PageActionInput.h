#pragma once

#include "editor/ui/ActionInput.h"

namespace rondelix {

class ElidingButton;

// The page or quick setting of the program a slice opens, chosen from a menu.
class PageActionInput final : public ActionInput {
  public:
    PageActionInput(ActionInputContext context, QWidget* parent);
    void showAction(const MacroAction& action) override;

  private:
    ElidingButton* menu_;
};

} // namespace rondelix

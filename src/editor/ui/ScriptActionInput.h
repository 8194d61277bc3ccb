#pragma once

#include "editor/ui/ActionInput.h"

namespace rondelix {

class ResizableTextEditor;

// The shell command a script slice runs, in a resizable editor, with a menu of examples and help.
class ScriptActionInput final : public ActionInput {
  public:
    ScriptActionInput(ActionInputContext context, QWidget* parent);
    void showAction(const MacroAction& action) override;

  private:
    ResizableTextEditor* editor_;
};

} // namespace rondelix

#pragma once

#include "editor/ui/ActionInput.h"

namespace rondelix {

class ResizableTextEditor;

// The text a text slice pastes, in a resizable editor.
class TextActionInput final : public ActionInput {
  public:
    TextActionInput(ActionInputContext context, QWidget* parent);
    void showAction(const MacroAction& action) override;

  private:
    ResizableTextEditor* editor_;
};

} // namespace rondelix

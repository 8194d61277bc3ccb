#pragma once

#include "editor/ui/IconInput.h"

namespace rondelix {

// A symbol icon: its preview and name, and the button that opens the symbol grid.
class SymbolIconInput final : public IconInput {
  public:
    SymbolIconInput(SliceForm& form, QWidget* parent);
    void showIcon(const Icon& icon) override;

  private:
    void chooseSymbol();

    QLabel* preview_;
    QLabel* name_;
};

} // namespace rondelix

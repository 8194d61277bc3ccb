#pragma once

#include "editor/ui/IconInput.h"

namespace rondelix {

class EmojiPickerField;

// An emoji icon: the field that holds it and the button to the emoji popup.
class EmojiIconInput final : public IconInput {
  public:
    EmojiIconInput(SliceForm& form, QWidget* parent);
    void showIcon(const Icon& icon) override;

  private:
    EmojiPickerField* field_;
};

} // namespace rondelix

#pragma once

#include "editor/ui/IconInput.h"

namespace rondelix {

class CustomIconThumbnail;

// A picture icon: its thumbnail and file name, the button that chooses
// another picture, and the line that says why a chosen one was refused.
class ImageIconInput final : public IconInput {
  public:
    ImageIconInput(SliceForm& form, QWidget* parent);
    void showIcon(const Icon& icon) override;

  private:
    CustomIconThumbnail* thumbnail_;
    QLabel* name_;
};

} // namespace rondelix

#pragma once

#include "settings/SettingRow.h"

#include <QHBoxLayout>

class QLabel;

namespace rondelix {

// The label of every settings row: the symbol, the title and, when given, a
// caption under it that wraps onto as many lines as it needs. A layout, so
// that the title stands beside the row's control and names it for screen
// readers as the control's label.
class SettingLabel : public QHBoxLayout {
  public:
    explicit SettingLabel(const SettingText& text);

    // Makes the title the label of the control beside it.
    void names(QWidget& control);

  private:
    QLabel* title_;
};

} // namespace rondelix

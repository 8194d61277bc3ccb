#pragma once

#include "settings/SettingRow.h"

#include <QWidget>

namespace rondelix {

// The label of every settings row: the symbol, the title and, when given, a
// caption under it that wraps onto as many lines as it needs.
class SettingLabel : public QWidget {
  public:
    explicit SettingLabel(const SettingText& text, QWidget* parent = nullptr);
};

} // namespace rondelix

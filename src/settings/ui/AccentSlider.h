#pragma once

#include <QSlider>

namespace rondelix {

// A slider whose filled groove, drawn in the accent, stands out from the
// window at 3:1 whatever the accent and the look: the style is handed the
// accent deepened (or lightened) as far as that takes.
class AccentSlider final : public QSlider {
  public:
    explicit AccentSlider(QWidget* parent = nullptr) : QSlider(Qt::Horizontal, parent) {}

  protected:
    void initStyleOption(QStyleOptionSlider* option) const override;
};

} // namespace rondelix

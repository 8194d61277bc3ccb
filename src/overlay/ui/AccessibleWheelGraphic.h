#pragma once

#include <QAccessibleWidget>

namespace rondelix {

class WheelGraphic;

// What a screen reader hears of a drawn wheel: the name its host gives it
// and, as its value, the slice aimed at or under the pointer (as its
// description too, which is what the desktop's accessibility bus carries).
class AccessibleWheelGraphic : public QAccessibleWidget {
  public:
    explicit AccessibleWheelGraphic(WheelGraphic* graphic);

    QString text(QAccessible::Text t) const override;

    // Makes screen readers see every drawn wheel so; once per program,
    // before the first wheel names itself.
    static void install();
    // Tells screen readers that the aimed slice changed.
    static void aimChanged(WheelGraphic& graphic);
};

} // namespace rondelix

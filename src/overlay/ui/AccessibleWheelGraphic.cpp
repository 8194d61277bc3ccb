#include "overlay/ui/AccessibleWheelGraphic.h"

#include "overlay/ui/WheelGraphic.h"

namespace rondelix {

namespace {

QAccessibleInterface* wheelGraphicFactory(const QString&, QObject* object) {
    if (auto* graphic = qobject_cast<WheelGraphic*>(object)) return new AccessibleWheelGraphic(graphic);
    return nullptr;
}

} // namespace

AccessibleWheelGraphic::AccessibleWheelGraphic(WheelGraphic* graphic)
    : QAccessibleWidget(graphic, QAccessible::Graphic) {}

QString AccessibleWheelGraphic::text(QAccessible::Text t) const {
    if (t == QAccessible::Value) return static_cast<const WheelGraphic*>(widget())->highlightedLabel();
    return QAccessibleWidget::text(t);
}

void AccessibleWheelGraphic::install() {
    static const bool installed = (QAccessible::installFactory(wheelGraphicFactory), true);
    (void)installed;
}

void AccessibleWheelGraphic::aimChanged(WheelGraphic& graphic) {
    if (!QAccessible::isActive()) return;
    QAccessibleValueChangeEvent changed(&graphic, graphic.highlightedLabel());
    QAccessible::updateAccessibility(&changed);
}

} // namespace rondelix

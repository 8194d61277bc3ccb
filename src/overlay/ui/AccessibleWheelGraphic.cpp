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
    const auto* graphic = static_cast<const WheelGraphic*>(widget());
    if (t == QAccessible::Value) return graphic->highlightedLabel();
    // The desktop's accessibility bus carries no text value for a picture:
    // screen readers there hear the slice as the description.
    if (t == QAccessible::Description && graphic->accessibleDescription().isEmpty())
        return graphic->highlightedLabel();
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
    QAccessibleEvent described(&graphic, QAccessible::DescriptionChanged);
    QAccessible::updateAccessibility(&described);
}

} // namespace rondelix

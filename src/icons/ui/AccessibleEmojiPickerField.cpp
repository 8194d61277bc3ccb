#include "icons/ui/AccessibleEmojiPickerField.h"

#include "icons/ui/EmojiPickerField.h"
#include "icons/ui/EmojiPopup.h"

namespace rondelix {

namespace {

// The popup, a window of its own, under the field that opened it.
class AccessibleEmojiPopup final : public QAccessibleWidget {
  public:
    explicit AccessibleEmojiPopup(EmojiPopup* popup) : QAccessibleWidget(popup, QAccessible::Window) {}

    QAccessibleInterface* parent() const override {
        return QAccessible::queryAccessibleInterface(widget()->parentWidget());
    }
};

QAccessibleInterface* emojiPickerFactory(const QString&, QObject* object) {
    if (auto* field = qobject_cast<EmojiPickerField*>(object)) return new AccessibleEmojiPickerField(field);
    if (auto* popup = qobject_cast<EmojiPopup*>(object); popup && popup->parentWidget())
        return new AccessibleEmojiPopup(popup);
    return nullptr;
}

} // namespace

AccessibleEmojiPickerField::AccessibleEmojiPickerField(EmojiPickerField* field)
    : QAccessibleWidget(field, QAccessible::Grouping) {}

QAccessibleInterface* AccessibleEmojiPickerField::popup() const {
    EmojiPopup* open = static_cast<const EmojiPickerField*>(widget())->popup();
    return open && open->isVisible() ? QAccessible::queryAccessibleInterface(open) : nullptr;
}

int AccessibleEmojiPickerField::childCount() const {
    return QAccessibleWidget::childCount() + (popup() ? 1 : 0);
}

QAccessibleInterface* AccessibleEmojiPickerField::child(int index) const {
    if (index == QAccessibleWidget::childCount()) return popup();
    return QAccessibleWidget::child(index);
}

int AccessibleEmojiPickerField::indexOfChild(const QAccessibleInterface* child) const {
    if (child && child == popup()) return QAccessibleWidget::childCount();
    return QAccessibleWidget::indexOfChild(child);
}

void AccessibleEmojiPickerField::install() {
    static const bool installed = (QAccessible::installFactory(emojiPickerFactory), true);
    (void)installed;
}

void AccessibleEmojiPickerField::popupOpened(EmojiPickerField& field) {
    if (!QAccessible::isActive() || !field.popup()) return;
    QAccessibleEvent created(field.popup(), QAccessible::ObjectCreated);
    QAccessible::updateAccessibility(&created);
}

} // namespace rondelix

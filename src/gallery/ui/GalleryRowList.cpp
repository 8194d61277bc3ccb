#include "gallery/ui/GalleryRowList.h"

#include "gallery/ui/GalleryListRow.h"

#include <QKeyEvent>
#include <QScrollArea>
#include <QVBoxLayout>
#include <optional>

namespace rondelix {

GalleryRowList::GalleryRowList(const QString& name, QWidget* parent)
    : QWidget(parent), rows_(new QVBoxLayout(this)) {
    // Before the first name: a screen reader's interface is made once.
    AccessibleItems::install();
    setAccessibleName(name);
    setFocusPolicy(Qt::StrongFocus);
}

void GalleryRowList::adopt(GalleryListRow* row) {
    row->setFocusPolicy(Qt::ClickFocus);
    row->setFocusProxy(this);
}

std::vector<GalleryListRow*> GalleryRowList::shownRows() const {
    std::vector<GalleryListRow*> shown;
    for (int i = 0; i < rows_->count(); ++i)
        if (auto* row = qobject_cast<GalleryListRow*>(rows_->itemAt(i)->widget()); row && !row->isHidden())
            shown.push_back(row);
    return shown;
}

void GalleryRowList::selectionChanged() {
    const int index = accessibleSelectedItem();
    const GalleryListRow* chosen = index < 0 ? nullptr : shownRows()[static_cast<std::size_t>(index)];
    if (chosen == chosen_) return;
    chosen_ = chosen;
    if (hasFocus()) scrollToChosen();
    AccessibleItems::selectionMoved(*this, index);
}

void GalleryRowList::scrollToChosen() {
    const int index = accessibleSelectedItem();
    if (index < 0) return;
    for (QWidget* up = parentWidget(); up; up = up->parentWidget())
        if (auto* area = qobject_cast<QScrollArea*>(up)) {
            area->ensureWidgetVisible(shownRows()[static_cast<std::size_t>(index)], 0, 10);
            return;
        }
}

int GalleryRowList::accessibleItemCount() const {
    return static_cast<int>(shownRows().size());
}

// The row's words as it shows them: its title, the line below and what its
// badge says.
QString GalleryRowList::accessibleItemName(int index) const {
    const GalleryListRow* row = shownRows().at(static_cast<std::size_t>(index));
    QStringList words{row->title()};
    if (!row->subtitle().isEmpty()) words << row->subtitle();
    if (!row->toolTip().isEmpty()) words << row->toolTip();
    return words.join(", ");
}

QRect GalleryRowList::accessibleItemRect(int index) const {
    return shownRows().at(static_cast<std::size_t>(index))->geometry();
}

int GalleryRowList::accessibleSelectedItem() const {
    const auto shown = shownRows();
    for (std::size_t i = 0; i < shown.size(); ++i)
        if (shown[i]->isSelected()) return static_cast<int>(i);
    return -1;
}

void GalleryRowList::keyPressEvent(QKeyEvent* event) {
    const auto shown = shownRows();
    const bool plain = !(event->modifiers() & ~Qt::KeypadModifier);
    const int last = static_cast<int>(shown.size()) - 1;
    const int chosen = accessibleSelectedItem();
    std::optional<int> next;
    if (plain && event->key() == Qt::Key_Up) next = chosen < 0 ? last : std::max(chosen - 1, 0);
    if (plain && event->key() == Qt::Key_Down) next = chosen < 0 ? 0 : std::min(chosen + 1, last);
    if (plain && event->key() == Qt::Key_Home) next = 0;
    if (plain && event->key() == Qt::Key_End) next = last;
    if (!next) return QWidget::keyPressEvent(event);
    event->accept();
    if (*next >= 0 && *next != chosen) shown[static_cast<std::size_t>(*next)]->click();
}

void GalleryRowList::focusInEvent(QFocusEvent* event) {
    QWidget::focusInEvent(event);
    showRing(true);
    // A click keeps the rows where they are, under the pointer.
    if (event->reason() != Qt::MouseFocusReason) scrollToChosen();
}

void GalleryRowList::focusOutEvent(QFocusEvent* event) {
    QWidget::focusOutEvent(event);
    showRing(false);
}

void GalleryRowList::showRing(bool shown) {
    for (GalleryListRow* row : findChildren<GalleryListRow*>(Qt::FindDirectChildrenOnly))
        row->setRingShown(shown);
}

} // namespace rondelix

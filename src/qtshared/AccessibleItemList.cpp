#include "qtshared/AccessibleItemList.h"

#include <QWidget>

namespace rondelix {

namespace {

// One item of the list: no object of its own, so it asks the list.
class AccessibleItem : public QAccessibleInterface {
  public:
    AccessibleItem(const AccessibleItemList& list, int index) : list_(list), index_(index) {}

    bool isValid() const override { return list_.isValid() && index_ < list_.items().accessibleItemCount(); }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override { return list_.window(); }
    QAccessibleInterface* parent() const override { return const_cast<AccessibleItemList*>(&list_); }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QAccessibleInterface* focusChild() const override { return nullptr; }
    QAccessible::Role role() const override { return QAccessible::ListItem; }
    void setText(QAccessible::Text, const QString&) override {}

    QString text(QAccessible::Text t) const override {
        return t == QAccessible::Name && isValid() ? list_.items().accessibleItemName(index_) : QString();
    }
    QRect rect() const override {
        if (!isValid()) return {};
        const auto* widget = static_cast<const QWidget*>(list_.object());
        const QRect local = list_.items().accessibleItemRect(index_);
        return QRect(widget->mapToGlobal(local.topLeft()), local.size());
    }
    QAccessible::State state() const override {
        QAccessible::State state;
        state.selectable = true;
        state.focusable = true;
        if (!isValid()) return state;
        state.selected = list_.items().accessibleSelectedItem() == index_;
        state.focused = state.selected && static_cast<const QWidget*>(list_.object())->hasFocus();
        return state;
    }

  private:
    const AccessibleItemList& list_;
    int index_;
};

QAccessibleInterface* itemListFactory(const QString&, QObject* object) {
    auto* widget = qobject_cast<QWidget*>(object);
    if (widget && dynamic_cast<AccessibleItems*>(widget)) return new AccessibleItemList(widget);
    return nullptr;
}

} // namespace

void AccessibleItems::install() {
    static const bool installed = [] {
        QAccessible::installFactory(itemListFactory);
        return true;
    }();
    (void)installed;
}

void AccessibleItems::selectionMoved(QWidget& widget, int index) {
    if (!QAccessible::isActive() || index < 0) return;
    QAccessibleInterface* list = QAccessible::queryAccessibleInterface(&widget);
    QAccessibleInterface* item = list ? list->child(index) : nullptr;
    if (!item) return;
    QAccessibleEvent selected(item, QAccessible::Selection);
    QAccessible::updateAccessibility(&selected);
    if (!widget.hasFocus()) return;
    QAccessibleEvent focused(item, QAccessible::Focus);
    QAccessible::updateAccessibility(&focused);
}

AccessibleItemList::AccessibleItemList(QWidget* widget) : QAccessibleWidget(widget, QAccessible::List) {}

AccessibleItemList::~AccessibleItemList() {
    for (const QAccessible::Id id : children_)
        QAccessible::deleteAccessibleInterface(id);
}

const AccessibleItems& AccessibleItemList::items() const {
    return *dynamic_cast<const AccessibleItems*>(widget());
}

int AccessibleItemList::childCount() const {
    return items().accessibleItemCount();
}

QAccessibleInterface* AccessibleItemList::child(int index) const {
    if (index < 0 || index >= childCount()) return nullptr;
    while (static_cast<int>(children_.size()) <= index)
        children_.push_back(QAccessible::registerAccessibleInterface(
            new AccessibleItem(*this, static_cast<int>(children_.size()))));
    return QAccessible::accessibleInterface(children_[static_cast<std::size_t>(index)]);
}

int AccessibleItemList::indexOfChild(const QAccessibleInterface* child) const {
    for (std::size_t i = 0; i < children_.size(); ++i)
        if (QAccessible::accessibleInterface(children_[i]) == child) return static_cast<int>(i);
    return -1;
}

QAccessibleInterface* AccessibleItemList::childAt(int x, int y) const {
    const QPoint local = widget()->mapFromGlobal(QPoint(x, y));
    for (int i = 0; i < childCount(); ++i)
        if (items().accessibleItemRect(i).contains(local)) return child(i);
    return nullptr;
}

QAccessibleInterface* AccessibleItemList::focusChild() const {
    return widget()->hasFocus() ? child(items().accessibleSelectedItem()) : nullptr;
}

} // namespace rondelix

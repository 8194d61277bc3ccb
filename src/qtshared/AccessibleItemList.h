#pragma once

#include <QAccessibleWidget>
#include <QRect>
#include <QString>
#include <vector>

namespace rondelix {

// A widget that draws a row of items itself (the wheel pills, the preview's
// slots) and tells a screen reader about them: how many, each one's name and
// place, and which one is selected.
class AccessibleItems {
  public:
    virtual ~AccessibleItems() = default;
    virtual int accessibleItemCount() const = 0;
    virtual QString accessibleItemName(int index) const = 0;
    // In the widget's coordinates.
    virtual QRect accessibleItemRect(int index) const = 0;
    // -1 when none is.
    virtual int accessibleSelectedItem() const = 0;

    // Makes screen readers see such widgets as a list of their items; once
    // per program, before the first is shown.
    static void install();
    // Tells screen readers that the selection moved to `index` of `widget`.
    static void selectionMoved(QWidget& widget, int index);
};

// The list a screen reader sees for an AccessibleItems widget; its items are
// kept while the list lasts and handed out by index.
class AccessibleItemList : public QAccessibleWidget {
  public:
    explicit AccessibleItemList(QWidget* widget);
    ~AccessibleItemList() override;

    int childCount() const override;
    QAccessibleInterface* child(int index) const override;
    int indexOfChild(const QAccessibleInterface* child) const override;
    QAccessibleInterface* childAt(int x, int y) const override;
    QAccessibleInterface* focusChild() const override;

    const AccessibleItems& items() const;

  private:
    mutable std::vector<QAccessible::Id> children_;
};

} // namespace rondelix

#pragma once

#include <QLayout>
#include <QList>

namespace rondelix {

// A layout of its own arranging: it keeps the items added to it in order,
// owns them, and leaves their placing to the layout built on it.
class ItemListLayout : public QLayout {
  public:
    ~ItemListLayout() override {
        while (QLayoutItem* item = takeAt(0))
            delete item;
    }

    void addItem(QLayoutItem* item) override { items_.append(item); }
    int count() const override { return static_cast<int>(items_.size()); }
    QLayoutItem* itemAt(int index) const override { return items_.value(index); }
    QLayoutItem* takeAt(int index) override {
        return index >= 0 && index < items_.size() ? items_.takeAt(index) : nullptr;
    }

  protected:
    QList<QLayoutItem*> items_;
};

} // namespace rondelix

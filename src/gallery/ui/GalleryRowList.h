#pragma once

#include "qtshared/AccessibleItemList.h"

#include <QWidget>
#include <vector>

class QVBoxLayout;

namespace rondelix {

class GalleryListRow;

// A column of gallery rows that the keyboard reaches as one stop, as a list
// view is: Up and Down choose the row above or below on screen as a click
// would, Home and End the first and the last, and the chosen row wears the
// focus ring while the column has the focus. A click on a row gives the
// column the focus. Screen readers hear a list of the rows shown.
class GalleryRowList : public QWidget, public AccessibleItems {
    Q_OBJECT
  public:
    GalleryRowList(const QString& name, QWidget* parent);

    // Where the page puts the rows, in the order they show.
    QVBoxLayout* rows() const { return rows_; }
    // Takes a row made for this column: it is chosen from here and gives
    // its focus to the column.
    void adopt(GalleryListRow* row);
    // After the page changed the selection: screen readers hear of a new
    // chosen row, and a column with the focus scrolls to it.
    void selectionChanged();

    int accessibleItemCount() const override;
    QString accessibleItemName(int index) const override;
    QRect accessibleItemRect(int index) const override;
    int accessibleSelectedItem() const override;

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

  private:
    std::vector<GalleryListRow*> shownRows() const;
    void showRing(bool shown);
    void scrollToChosen();

    QVBoxLayout* rows_;
    const GalleryListRow* chosen_ = nullptr;
};

} // namespace rondelix

#pragma once

#include <QListView>

class QLineEdit;
class QPainter;

namespace rondelix {

// A grid of cells to pick one from, by mouse or keyboard: the arrows move the
// current cell, which is drawn while the grid has the focus, and a click,
// Return, Enter or Space picks. Esc is left to the window around it.
class PickerGrid : public QListView {
    Q_OBJECT
  public:
    PickerGrid(QSize cell, QWidget* parent = nullptr);

    // Down in the search field moves the focus into the grid, onto its first
    // cell when no cell is current.
    void enterFrom(QLineEdit* field);

    // A cell's backdrop: a light fill while hovered, the highlight ring
    // around the current cell while the grid has the focus.
    static void paintCell(QPainter& painter, const QStyleOptionViewItem& option, const QRectF& cell);

  Q_SIGNALS:
    void picked(const QModelIndex& index);

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QLineEdit* field_ = nullptr;
};

} // namespace rondelix

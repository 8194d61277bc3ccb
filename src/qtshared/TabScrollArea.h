#pragma once

#include <QApplication>
#include <QScrollArea>
#include <QWidget>

namespace rondelix {

// A scroll area that Tab leaves where it is. When Tab moves the focus on from
// a widget inside it, QScrollArea brings into view the child it last gave the
// focus to, even when the focus has just left the area; a list taller than
// the view, which is one stop for the keyboard, then scrolls to its middle
// and away from its chosen row. This one brings a child into view only when
// the focus is still inside.
class TabScrollArea : public QScrollArea {
  public:
    using QScrollArea::QScrollArea;

  protected:
    bool focusNextPrevChild(bool next) override {
        if (!QWidget::focusNextPrevChild(next)) return false;
        QWidget* focused = QApplication::focusWidget();
        if (focused && widget() && widget()->isAncestorOf(focused)) ensureWidgetVisible(focused);
        return true;
    }
};

} // namespace rondelix

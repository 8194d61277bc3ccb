#pragma once

#include <QObject>
#include <QPointer>
#include <functional>
#include <map>

class QWidget;

namespace rondelix {

// When the active window of the program closes, the window it belonged to
// becomes active again: a dialog's parent window, else the window that was
// active when it opened, else the main window. A window manager does this
// for a dialog; without one nothing would, and the program's keys (Ctrl+W,
// Ctrl+Q, Ctrl+,) would wait for a click.
class FocusReturn final : public QObject {
  public:
    explicit FocusReturn(std::function<QWidget*()> mainWindow);
    ~FocusReturn() override;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QWidget* owner(QWidget& closing);
    void handBack(QWidget* next, const QWidget* closing);

    std::function<QWidget*()> mainWindow_;
    std::map<const QObject*, QPointer<QWidget>> openedFrom_;
};

} // namespace rondelix

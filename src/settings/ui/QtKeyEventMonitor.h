#pragma once

#include "settings/KeyEventMonitor.h"

#include <QObject>
#include <functional>

namespace rondelix {

namespace platform {
class KeyboardLayout;
}

// Takes every key event that reaches any window of the program, shortcuts
// included, and hands it on in the system's key codes: the window system's
// own key number tells left from right modifiers and names keys the toolkit
// does not (F13 to F20). Removing it lets events pass again.
class QtKeyEventMonitor : public QObject, public KeyEventMonitor {
  public:
    QtKeyEventMonitor(const platform::KeyboardLayout& layout,
                      std::function<void(const MonitoredKeyEvent&)> handler);
    ~QtKeyEventMonitor() override;

    static KeyEventMonitorFactory factory(const platform::KeyboardLayout& layout);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    const platform::KeyboardLayout& layout_;
    std::function<void(const MonitoredKeyEvent&)> handler_;
};

} // namespace rondelix

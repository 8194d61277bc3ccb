#pragma once

#include <QObject>
#include <functional>

namespace rondelix {

// A thin line around each of the program's windows that no window manager
// frames: without one, a side window, a picker or an alert would have no
// edge and blend into the window behind it. Whether a manager frames the
// window is asked as each window shows, so one started or stopped later
// counts from the next window on. One per program, alive as long as its
// windows.
class WindowEdge final : public QObject {
  public:
    explicit WindowEdge(std::function<bool()> windowManagerRuns);
    ~WindowEdge() override;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    std::function<bool()> windowManagerRuns_;
};

} // namespace rondelix

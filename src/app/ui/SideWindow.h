#pragma once

#include <QWidget>
#include <functional>

namespace rondelix {

// One of the program's side windows (onboarding, system-action setup, the
// how-it-works guide). Their content comes from the guides; the window itself
// is the shell's.
class SideWindow final : public QWidget {
    Q_OBJECT

  public:
    explicit SideWindow(const QString& title);

    // The user closed the window; it is destroyed right after.
    std::function<void()> onUserClose;

  protected:
    void closeEvent(QCloseEvent* event) override;
};

} // namespace rondelix

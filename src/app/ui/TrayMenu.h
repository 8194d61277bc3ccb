#pragma once

#include "app/MenuBarContent.h"

#include <QObject>
#include <cstddef>
#include <memory>

class QMenu;
class QSystemTrayIcon;

namespace rondelix {

class AppCoordinator;

// The program's icon in the system tray with its menu. The menu is rebuilt
// from the coordinator's values each time it opens; the icon dims while
// summoning is paused.
class TrayMenu final : public QObject {
    Q_OBJECT

  public:
    TrayMenu(AppCoordinator& coordinator, std::function<void()> quit);
    ~TrayMenu() override;

    static bool trayAvailable();

    QMenu* menu() const { return menu_.get(); }
    // Rebuilds the menu now, as opening it does.
    void rebuild();

  private:
    void updateIcon();

    AppCoordinator& coordinator_;
    MenuBarContent content_;
    std::unique_ptr<QMenu> menu_;
    std::unique_ptr<QSystemTrayIcon> icon_;
    std::size_t connection_ = 0;
};

} // namespace rondelix

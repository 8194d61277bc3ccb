#pragma once

#include "app/MenuBarContent.h"

#include <QObject>
#include <functional>
#include <memory>
#include <vector>

class QMenu;
class QSystemTrayIcon;

namespace rondelix {

class AppCoordinator;

// The program's icon in the system tray with its menu, which a click on the
// icon opens too. The menu follows the coordinator's values: it is rebuilt
// when its rows change and each time it opens. The icon dims while
// summoning is paused.
class TrayMenu final : public QObject {
    Q_OBJECT

  public:
    TrayMenu(AppCoordinator& coordinator, std::function<void()> quit);
    ~TrayMenu() override;

    static bool trayAvailable();

    QMenu* menu() const { return menu_.get(); }
    // Brings the menu up to date now, as opening it does.
    void rebuild();

  private:
    void updateIcon();
    void observe();

    AppCoordinator& coordinator_;
    MenuBarContent content_;
    std::unique_ptr<QMenu> menu_;
    std::unique_ptr<QSystemTrayIcon> icon_;
    std::vector<MenuRow> shownRows_;
    std::vector<std::function<void()>> disconnects_;
};

} // namespace rondelix

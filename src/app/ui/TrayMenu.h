#pragma once

#include "app/MenuBarContent.h"
#include "util/Signal.h"

#include <QColor>
#include <QIcon>
#include <QObject>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

class QMenu;
class QSystemTrayIcon;

namespace rondelix {

class AppCoordinator;

// The program's icon in the system tray with its menu, which a click on the
// icon opens too. The menu follows the coordinator's values: it is rebuilt
// when its rows change and each time it opens. The icon is a one-colour mark
// in the panel's text colour, so that it reads on light and dark panels
// alike, and is drawn at 0.4 opacity while summoning is paused.
class TrayMenu final : public QObject {
    Q_OBJECT

  public:
    // The colour the tray asks its icons to use, when it says; otherwise the
    // desktop palette's text colour.
    using PanelTextColor = std::function<std::optional<QColor>()>;

    TrayMenu(AppCoordinator& coordinator, std::function<void()> quit, PanelTextColor panelTextColor = {});
    ~TrayMenu() override;

    static bool trayAvailable();

    QMenu* menu() const { return menu_.get(); }
    QIcon icon() const;
    // Brings the menu up to date now, as opening it does.
    void rebuild();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void updateIcon();
    void observe();

    AppCoordinator& coordinator_;
    MenuBarContent content_;
    PanelTextColor panelTextColor_;
    std::unique_ptr<QMenu> menu_;
    std::unique_ptr<QSystemTrayIcon> icon_;
    std::vector<MenuRow> shownRows_;
    std::vector<ScopedConnection> connections_;
};

} // namespace rondelix

#pragma once

#include "app/MenuBarContent.h"
#include "app/PanelLooks.h"
#include "platform/DesktopAppearance.h"
#include "util/Signal.h"

#include <QColor>
#include <QIcon>
#include <QObject>
#include <QRect>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

class QMenu;
class QSystemTrayIcon;

namespace rondelix {

class AppCoordinator;

// What the tray icon knows of the panel it sits on.
struct TrayPanelLook {
    // The colour the tray asks its icons to use, when it says.
    std::function<std::optional<QColor>()> trayTextColor;
    // The desktop's colour scheme; followed while the tray lives.
    platform::DesktopAppearance* appearance = nullptr;
    // Whether the panel is in a dark mode of its own (Xfce's), when known.
    std::function<std::optional<bool>()> panelDarkMode;
    // The colour the panels show as they are drawn now, when there are any.
    std::function<std::optional<QColor>()> panelColour;
    // The panel's colour in a thin ring around the icon's area on screen.
    std::function<std::optional<QColor>(const QRect& icon)> colourAround;
    // Has the panel's repaints around the icon's area (the panels' on
    // screen where the area is empty) told to TrayMenu::panelRepainted
    // until stopped; false where the display cannot tell.
    std::function<bool(const QRect& icon)> followRepaints;
    std::function<void()> stopRepaints;
};

// The program's icon in the system tray with its menu, which a click on the
// icon opens too. The menu follows the coordinator's values: it is rebuilt
// when its rows change and each time it opens. The icon is a one-colour mark
// in the panel's text colour, so that it reads on light and dark panels
// alike, and is drawn at 0.4 opacity while summoning is paused. A panel that
// does not say its text colour (a StatusNotifierItem host draws the icon as
// given) gets the colour of the desktop's colour scheme, outlined in the
// opposite one so that it reads on a panel darker or lighter than its
// windows too. The panel as it shows has the last word (around the icon
// where the tray says where it is, else the panels on screen), and so does a
// panel that switched its own dark mode since it published its colours: an
// ink that does not stand out from it at 3:1 gives way to one that does.
// Nothing is looked at while nothing changes: each notice of a change (the
// desktop's scheme, the tray's colours, the panel's own mode) has the panel
// looked at again, and again after each repaint where the display tells of
// them (else until its colour has settled), as the panel repaints once it
// has heard the change itself.
class TrayMenu final : public QObject {
    Q_OBJECT

  public:
    TrayMenu(AppCoordinator& coordinator, std::function<void()> quit, TrayPanelLook look = {});
    ~TrayMenu() override;

    static bool trayAvailable();

    QMenu* menu() const { return menu_.get(); }
    QIcon icon() const;
    // Brings the menu up to date now, as opening it does.
    void rebuild();
    // Redraws the icon for the panel's colours as they are now: the tray
    // changed them, or another tray took over.
    void panelChanged();
    // The panel's own dark mode (Xfce's) was read or switched: a panel
    // that switched goes on publishing the colours of its old look until
    // it publishes anew.
    void panelModeChanged();
    // The desktop's theme changed in a way that may give the panel a new
    // look without a new light or dark: the panel is looked at again.
    void lookAgainSoon();
    // The panel was drawn again while its repaints were followed.
    void panelRepainted();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    // Draws the icon for the panel as it shows now, and says what that is.
    std::optional<QColor> updateIcon();
    void observe();
    std::optional<QColor> shownPanel();
    std::optional<QColor> switchedPanel() const;

    // What the icon was last drawn with, so that it is drawn again only for a change.
    struct Drawn {
        QColor ink;
        std::optional<QColor> outline;
        bool paused = false;
        bool operator==(const Drawn&) const = default;
    };

    AppCoordinator& coordinator_;
    MenuBarContent content_;
    TrayPanelLook look_;
    std::unique_ptr<QMenu> menu_;
    std::unique_ptr<QSystemTrayIcon> icon_;
    std::vector<MenuRow> shownRows_;
    std::vector<ScopedConnection> connections_;
    std::optional<Drawn> drawn_;
    std::optional<bool> panelDarkMode_;
    // The panel switched its own dark mode after it last published colours.
    bool publishedColoursStale_ = false;
    // The panel's colour at the last look.
    std::optional<QColor> lookedPanel_;
    // Where the tray said the icon was at the last look, where its panel is
    // followed; empty where it does not say.
    QRect iconArea_;
    PanelLooks looks_;
};

} // namespace rondelix

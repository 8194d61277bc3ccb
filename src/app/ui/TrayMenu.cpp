#include "app/ui/TrayMenu.h"

#include "app/AppCoordinator.h"
#include "engine/PermissionsCheck.h"
#include "model/Color.h"
#include "overlay/ui/ProgramMark.h"
#include "qtshared/QtColor.h"

#include <QAction>
#include <QCursor>
#include <QEvent>
#include <QGuiApplication>
#include <QIcon>
#include <QImage>
#include <QMenu>
#include <QPainter>
#include <QPalette>
#include <QPen>
#include <QPixmap>
#include <QSystemTrayIcon>
#include <algorithm>
#include <initializer_list>

namespace rondelix {

namespace {

// The mark in the ink, and where the panel's colour is a guess, ringed in
// black or white, whichever stands further from the ink.
QIcon trayIcon(const QColor& ink, std::optional<QColor> outline, bool paused) {
    QIcon icon;
    for (const int side : {16, 22, 24, 32, 48}) {
        QImage mark(side, side, QImage::Format_ARGB32_Premultiplied);
        mark.fill(Qt::transparent);
        QPainter painter(&mark);
        painter.setRenderHint(QPainter::Antialiasing);
        const QRectF square(1.5, 1.5, side - 3, side - 3);
        if (outline) {
            // The mark is a disc: a ring around it gives it an edge on any panel.
            const double width = std::max(1.0, side / 16.0);
            painter.setPen(QPen(*outline, width));
            painter.setBrush(Qt::NoBrush);
            painter.drawEllipse(square.adjusted(-width / 2, -width / 2, width / 2, width / 2));
        }
        paintProgramMark(painter, square, ink);
        painter.end();
        // Dimmed whole, so the outline does not show through the ink.
        QPixmap pixmap(side, side);
        pixmap.fill(Qt::transparent);
        QPainter dim(&pixmap);
        dim.setOpacity(paused ? 0.4 : 1.0);
        dim.drawImage(0, 0, mark);
        dim.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

// What the desktop's colour scheme says the panel's text is; the palette's
// where it says nothing.
QColor schemeInk(const platform::DesktopAppearance* appearance) {
    const QColor paletteText = QGuiApplication::palette().color(QPalette::WindowText);
    const auto scheme = appearance ? appearance->settings().colorScheme : platform::ColorScheme::unknown;
    if (scheme == platform::ColorScheme::dark)
        return paletteText.lightness() > 160 ? paletteText : QColor(239, 240, 241);
    if (scheme == platform::ColorScheme::light)
        return paletteText.lightness() < 96 ? paletteText : QColor(35, 38, 41);
    return paletteText;
}

double contrast(const QColor& a, const QColor& b) {
    return contrastRatio(fromQColor(a), fromQColor(b));
}

// What reads on the panel as it shows: the first ink that stands out at 3:1,
// else the darker or lighter of two neutral inks.
QColor inkForPanel(const QColor& panel, std::initializer_list<QColor> inks) {
    for (const QColor& ink : inks)
        if (contrast(ink, panel) >= 3.0) return ink;
    const QColor dark(35, 38, 41), light(239, 240, 241);
    return contrast(dark, panel) >= contrast(light, panel) ? dark : light;
}

} // namespace

TrayMenu::TrayMenu(AppCoordinator& coordinator, std::function<void()> quit, TrayPanelLook look)
    : coordinator_(coordinator), content_(coordinator), look_(std::move(look)),
      menu_(std::make_unique<QMenu>()), icon_(std::make_unique<QSystemTrayIcon>()),
      looks_(coordinator.platform().queue,
             [this] {
                 const std::optional<QColor> panel = updateIcon();
                 const bool changed = panel != lookedPanel_;
                 lookedPanel_ = panel;
                 return changed;
             },
             {[this] { return look_.followRepaints && look_.followRepaints(iconArea_); },
              [this] {
                  if (look_.stopRepaints) look_.stopRepaints();
              }}) {
    content_.onQuit = std::move(quit);
    connect(menu_.get(), &QMenu::aboutToShow, this, &TrayMenu::rebuild);
    // A click on the icon opens the menu, as the context click does.
    connect(icon_.get(), &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason reason) {
        if (reason == QSystemTrayIcon::Trigger) menu_->popup(QCursor::pos());
    });
    observe();
    rebuild();
    updateIcon();
    // A new desktop theme brings new panel colours.
    QCoreApplication::instance()->installEventFilter(this);
    icon_->setToolTip("Rondelix");
    icon_->setContextMenu(menu_.get());
    icon_->show();
    // The tray embeds the icon, and the panel shows, only after the start.
    lookAgainSoon();
}

TrayMenu::~TrayMenu() = default;

// Every value a row is made from; a change rebuilds the menu when its rows differ.
void TrayMenu::observe() {
    const auto watch = [this](auto& signal, auto slot) {
        connections_.push_back(signal.connectScoped(std::move(slot)));
    };
    auto& c = coordinator_;
    watch(c.changed, [this](AppCoordinator::Property property) {
        if (property == AppCoordinator::Property::paused) updateIcon();
        rebuild();
    });
    watch(c.permissions().accessibilityTrustedChanged, [this](bool) { rebuild(); });
    watch(c.permissions().inputMonitoringTrustedChanged, [this](bool) { rebuild(); });
    watch(c.configStore().configChanged, [this] { rebuild(); });
    if (look_.appearance) watch(look_.appearance->changed, [this] { lookAgainSoon(); });
}

bool TrayMenu::trayAvailable() {
    return QSystemTrayIcon::isSystemTrayAvailable();
}

QIcon TrayMenu::icon() const {
    return icon_->icon();
}

bool TrayMenu::eventFilter(QObject* watched, QEvent* event) {
    if (watched == QCoreApplication::instance() && event->type() == QEvent::ApplicationPaletteChange)
        lookAgainSoon();
    return false;
}

void TrayMenu::lookAgainSoon() {
    looks_.begin();
}

void TrayMenu::panelRepainted() {
    looks_.repainted();
}

void TrayMenu::panelChanged() {
    publishedColoursStale_ = false;
    lookAgainSoon();
}

void TrayMenu::panelModeChanged() {
    const std::optional<bool> mode = look_.panelDarkMode ? look_.panelDarkMode() : std::nullopt;
    // The first reading is how the panel started, which its colours match.
    if (panelDarkMode_ && mode != panelDarkMode_) publishedColoursStale_ = true;
    panelDarkMode_ = mode;
    lookAgainSoon();
}

// What the panel looks like after it switched its own dark mode: dark, or
// again as the desktop's scheme; as Xfce's stock themes draw it.
std::optional<QColor> TrayMenu::switchedPanel() const {
    if (!publishedColoursStale_ || !panelDarkMode_) return std::nullopt;
    const QColor dark(53, 53, 53), light(246, 245, 244);
    if (*panelDarkMode_) return dark;
    switch (look_.appearance ? look_.appearance->settings().colorScheme : platform::ColorScheme::unknown) {
    case platform::ColorScheme::dark:
        return dark;
    case platform::ColorScheme::light:
        return light;
    case platform::ColorScheme::unknown:
        return std::nullopt;
    }
    return std::nullopt;
}

// The panel's colour as it shows: around the icon, where the tray says where
// the icon is (an icon embedded in it), else the panels on screen; a panel
// that hosts its items itself draws the icon where nobody is told.
std::optional<QColor> TrayMenu::shownPanel() {
    iconArea_ = icon_->geometry();
    if (!iconArea_.isEmpty() && look_.colourAround)
        if (const auto around = look_.colourAround(iconArea_)) return around;
    return look_.panelColour ? look_.panelColour() : std::nullopt;
}

std::optional<QColor> TrayMenu::updateIcon() {
    const std::optional<QColor> panelText = look_.trayTextColor ? look_.trayTextColor() : std::nullopt;
    const QColor schemeText = schemeInk(look_.appearance);
    Drawn next{panelText.value_or(schemeText), std::nullopt, coordinator_.paused()};
    const std::optional<QColor> shown = shownPanel();
    const std::optional<QColor> panel = shown ? shown : switchedPanel();
    if (panel)
        next.ink = inkForPanel(*panel, {next.ink, schemeText});
    else if (!panelText)
        next.outline = next.ink.lightness() > 127 ? QColor(Qt::black) : QColor(Qt::white);
    if (next != drawn_) {
        drawn_ = next;
        icon_->setIcon(trayIcon(next.ink, next.outline, next.paused));
    }
    return panel;
}

void TrayMenu::rebuild() {
    std::vector<MenuRow> rows = content_.rows();
    if (rows == shownRows_) return;
    shownRows_ = std::move(rows);
    menu_->clear();
    // Text rows are disabled so that they take no click, and the style draws
    // disabled text at under 2:1 on the menu; they are there to be read, so
    // they take the secondary text colour.
    QPalette palette = menu_->palette();
    for (const auto role : {QPalette::Text, QPalette::WindowText, QPalette::ButtonText})
        palette.setColor(QPalette::Disabled, role,
                         palette.color(QPalette::Active, QPalette::PlaceholderText));
    menu_->setPalette(palette);
    for (const MenuRow& row : shownRows_) {
        if (row.kind == MenuRow::Kind::separator) {
            menu_->addSeparator();
            continue;
        }
        QAction* action = menu_->addAction(QString::fromStdString(row.title));
        action->setEnabled(row.enabled);
        if (row.commandKey)
            action->setShortcut(
                QKeySequence(QStringLiteral("Ctrl+") + QChar::fromLatin1(row.commandKey).toUpper()));
        if (row.kind == MenuRow::Kind::item) {
            // Queued, so that the menu has closed before a window opens.
            connect(
                action, &QAction::triggered, this,
                [this, command = row.command] { content_.choose(command); }, Qt::QueuedConnection);
        }
    }
}

} // namespace rondelix

#include "app/ui/TrayMenu.h"

#include "app/AppCoordinator.h"
#include "engine/PermissionsCheck.h"
#include "overlay/ui/ProgramMark.h"

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

} // namespace

TrayMenu::TrayMenu(AppCoordinator& coordinator, std::function<void()> quit, TrayPanelLook look)
    : coordinator_(coordinator), content_(coordinator), look_(std::move(look)),
      menu_(std::make_unique<QMenu>()), icon_(std::make_unique<QSystemTrayIcon>()) {
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
    watch(c.updater().changed, [this](UpdaterController::Property) { rebuild(); });
    watch(c.permissions().accessibilityTrustedChanged, [this](bool) { rebuild(); });
    watch(c.permissions().inputMonitoringTrustedChanged, [this](bool) { rebuild(); });
    watch(c.configStore().configChanged, [this] { rebuild(); });
    if (look_.appearance) watch(look_.appearance->changed, [this] { updateIcon(); });
}

bool TrayMenu::trayAvailable() {
    return QSystemTrayIcon::isSystemTrayAvailable();
}

QIcon TrayMenu::icon() const {
    return icon_->icon();
}

bool TrayMenu::eventFilter(QObject* watched, QEvent* event) {
    if (watched == QCoreApplication::instance() && event->type() == QEvent::ApplicationPaletteChange)
        updateIcon();
    return false;
}

void TrayMenu::panelChanged() {
    updateIcon();
}

void TrayMenu::updateIcon() {
    const std::optional<QColor> panelText = look_.trayTextColor ? look_.trayTextColor() : std::nullopt;
    const QColor ink = panelText.value_or(schemeInk(look_.appearance));
    std::optional<QColor> outline;
    if (!panelText) outline = ink.lightness() > 127 ? QColor(Qt::black) : QColor(Qt::white);
    icon_->setIcon(trayIcon(ink, outline, coordinator_.paused()));
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

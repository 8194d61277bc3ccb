#include "app/ui/TrayMenu.h"

#include "app/AppCoordinator.h"
#include "engine/PermissionsCheck.h"
#include "overlay/ui/ProgramMark.h"

#include <QAction>
#include <QCursor>
#include <QEvent>
#include <QGuiApplication>
#include <QIcon>
#include <QMenu>
#include <QPainter>
#include <QPixmap>
#include <QSystemTrayIcon>

namespace rondelix {

namespace {

QIcon trayIcon(const QColor& ink, bool paused) {
    QIcon icon;
    for (const int side : {16, 22, 24, 32, 48}) {
        QPixmap pixmap(side, side);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setOpacity(paused ? 0.4 : 1.0);
        paintProgramMark(painter, QRectF(1, 1, side - 2, side - 2), ink);
        painter.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

} // namespace

TrayMenu::TrayMenu(AppCoordinator& coordinator, std::function<void()> quit, PanelTextColor panelTextColor)
    : coordinator_(coordinator), content_(coordinator), panelTextColor_(std::move(panelTextColor)),
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

void TrayMenu::updateIcon() {
    const std::optional<QColor> panelText = panelTextColor_ ? panelTextColor_() : std::nullopt;
    const QColor ink = panelText.value_or(QGuiApplication::palette().color(QPalette::WindowText));
    icon_->setIcon(trayIcon(ink, coordinator_.paused()));
}

void TrayMenu::rebuild() {
    std::vector<MenuRow> rows = content_.rows();
    if (rows == shownRows_) return;
    shownRows_ = std::move(rows);
    menu_->clear();
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

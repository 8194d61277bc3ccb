#include "app/ui/TrayMenu.h"

#include "app/AppCoordinator.h"
#include "overlay/ui/ProgramMark.h"

#include <QAction>
#include <QIcon>
#include <QMenu>
#include <QPainter>
#include <QPixmap>
#include <QSystemTrayIcon>

namespace rondelix {

namespace {

QIcon trayIcon(bool paused) {
    QIcon icon;
    for (const int side : {16, 22, 24, 32, 48}) {
        QPixmap pixmap(side, side);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setOpacity(paused ? 0.4 : 1.0);
        paintProgramMark(painter, QRectF(1, 1, side - 2, side - 2), QColor(235, 235, 235));
        painter.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

} // namespace

TrayMenu::TrayMenu(AppCoordinator& coordinator, std::function<void()> quit)
    : coordinator_(coordinator), content_(coordinator), menu_(std::make_unique<QMenu>()),
      icon_(std::make_unique<QSystemTrayIcon>()) {
    content_.onQuit = std::move(quit);
    connect(menu_.get(), &QMenu::aboutToShow, this, &TrayMenu::rebuild);
    connection_ = coordinator_.changed.connect([this](AppCoordinator::Property property) {
        if (property == AppCoordinator::Property::paused) updateIcon();
    });
    rebuild();
    updateIcon();
    icon_->setToolTip("Rondelix");
    icon_->setContextMenu(menu_.get());
    icon_->show();
}

TrayMenu::~TrayMenu() {
    coordinator_.changed.disconnect(connection_);
}

bool TrayMenu::trayAvailable() {
    return QSystemTrayIcon::isSystemTrayAvailable();
}

void TrayMenu::updateIcon() {
    icon_->setIcon(trayIcon(coordinator_.paused()));
}

void TrayMenu::rebuild() {
    menu_->clear();
    for (const MenuRow& row : content_.rows()) {
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

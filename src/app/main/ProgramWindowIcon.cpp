#include "app/main/ProgramWindowIcon.h"

#include "platform/linux/process/ProgramExecutables.h"

#include <QApplication>
#include <QEvent>
#include <QIcon>
#include <QWidget>

namespace rondelix {

namespace {

// The sizes the display is offered; drawn ahead, so that no vector drawing
// has to be read.
QIcon builtInIcon() {
    QIcon icon;
    for (const char* size : {"16x16", "32x32", "64x64", "128x128"})
        icon.addFile(QStringLiteral(":/%1/apps/com.tovarel.Rondelix.png").arg(QLatin1String(size)));
    return icon;
}

} // namespace

ProgramWindowIcon::ProgramWindowIcon() {
    QCoreApplication::instance()->installEventFilter(this);
}

ProgramWindowIcon::~ProgramWindowIcon() {
    if (QCoreApplication::instance()) QCoreApplication::instance()->removeEventFilter(this);
}

// A window is shown before it is mapped, so the icon reaches the display
// with the window's first appearance.
bool ProgramWindowIcon::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::Show || !watched->isWidgetType()) return false;
    const auto* window = static_cast<QWidget*>(watched);
    const bool managed = !window->windowFlags().testFlag(Qt::BypassWindowManagerHint);
    if (!window->isWindow() || !managed ||
        (window->windowType() != Qt::Window && window->windowType() != Qt::Dialog))
        return false;
    QCoreApplication::instance()->removeEventFilter(this);
    QApplication::setWindowIcon(
        QIcon::fromTheme(platform::linux_desktop::ProgramExecutables::applicationId, builtInIcon()));
    return false;
}

} // namespace rondelix

#include "platform/linux/desktop/DBusFileManager.h"

#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QUrl>

namespace rondelix::platform::linux_desktop {

namespace {

// A file manager started by the call itself takes a while to answer; one
// that says nothing for longer is as good as none.
constexpr int answerWaitMs = 10000;

} // namespace

void DBusFileManager::showItem(const QDBusConnection& bus, const std::string& path,
                               std::function<void(bool)> done) {
    QDBusMessage call =
        QDBusMessage::createMethodCall("org.freedesktop.FileManager1", "/org/freedesktop/FileManager1",
                                       "org.freedesktop.FileManager1", "ShowItems");
    const QString uri = QUrl::fromLocalFile(QString::fromStdString(path)).toString(QUrl::FullyEncoded);
    // No startup notification id: the file manager raises its window as any.
    call.setArguments({QStringList{uri}, QString()});
    auto* watcher = new QDBusPendingCallWatcher(bus.asyncCall(call, answerWaitMs));
    QObject::connect(watcher, &QDBusPendingCallWatcher::finished, watcher,
                     [done = std::move(done)](QDBusPendingCallWatcher* finished) {
                         finished->deleteLater();
                         done(!finished->isError());
                     });
}

} // namespace rondelix::platform::linux_desktop

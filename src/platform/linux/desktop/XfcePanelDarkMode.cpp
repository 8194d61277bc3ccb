#include "platform/linux/desktop/XfcePanelDarkMode.h"

#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusVariant>

namespace rondelix::platform::linux_desktop {

namespace {

const QString service = "org.xfce.Xfconf";
const QString path = "/org/xfce/Xfconf";
const QString interface = "org.xfce.Xfconf";
const QString panelChannel = "xfce4-panel";
const QString darkModeProperty = "/panels/dark-mode";

} // namespace

XfcePanelDarkMode::XfcePanelDarkMode(QDBusConnection bus, std::function<void()> changed)
    : bus_(std::move(bus)), changed_(std::move(changed)) {
    if (!bus_.isConnected()) return;
    bus_.connect(service, path, interface, "PropertyChanged", this,
                 SLOT(propertyChanged(QString, QString, QDBusVariant)));
    QDBusMessage call = QDBusMessage::createMethodCall(service, path, interface, "GetProperty");
    call.setArguments({QVariant(panelChannel), QVariant(darkModeProperty)});
    auto* watcher = new QDBusPendingCallWatcher(bus_.asyncCall(call), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, &XfcePanelDarkMode::answered);
}

void XfcePanelDarkMode::answered(QDBusPendingCallWatcher* call) {
    call->deleteLater();
    const QDBusPendingReply<QDBusVariant> reply = *call;
    // A panel that never had its dark mode set has no such property: off.
    if (reply.isError()) {
        if (reply.error().name() == "org.xfce.Xfconf.Error.PropertyNotFound") set(false);
        return;
    }
    set(reply.value().variant().toBool());
}

void XfcePanelDarkMode::propertyChanged(const QString& changedChannel, const QString& changedProperty,
                                        const QDBusVariant& value) {
    if (changedChannel == panelChannel && changedProperty == darkModeProperty) set(value.variant().toBool());
}

void XfcePanelDarkMode::set(std::optional<bool> dark) {
    if (dark == darkMode_) return;
    darkMode_ = dark;
    if (changed_) changed_();
}

} // namespace rondelix::platform::linux_desktop

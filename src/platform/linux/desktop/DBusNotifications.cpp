#include "platform/linux/desktop/DBusNotifications.h"

#include "platform/Log.h"

#include <QDBusMessage>

namespace rondelix::platform::linux_desktop {

DBusNotifications::DBusNotifications(Log& log, QDBusConnection bus) : log_(log), bus_(std::move(bus)) {}

Notifications::Token DBusNotifications::observe(const std::string& name, Handler handler) {
    observers_[++lastToken_] = {name, std::move(handler)};
    if (listening_.count(name)) return lastToken_;
    if (!bus_.isConnected()) {
        if (!loggedNoBus_) log_.write("no session D-Bus — notices from other programs are unavailable.");
        loggedNoBus_ = true;
        return lastToken_;
    }
    const auto dot = name.rfind('.');
    const QString interface = QString::fromStdString(name.substr(0, dot));
    const QString member = QString::fromStdString(name.substr(dot + 1));
    // Any sender and any object path: senders need not own a bus name.
    if (bus_.connect(QString(), QString(), interface, member, this, SLOT(received(QDBusMessage))))
        listening_.insert(name);
    else
        log_.write("couldn't listen for " + name + " on the session D-Bus.");
    return lastToken_;
}

void DBusNotifications::remove(Token token) {
    observers_.erase(token);
}

void DBusNotifications::received(const QDBusMessage& message) {
    const std::string name = (message.interface() + '.' + message.member()).toStdString();
    std::optional<std::string> text;
    const QList<QVariant> arguments = message.arguments();
    if (!arguments.isEmpty() && arguments.first().typeId() == QMetaType::QString)
        text = arguments.first().toString().toStdString();
    const auto snapshot = observers_;
    for (const auto& [token, observer] : snapshot)
        if (observer.name == name && observers_.count(token)) observer.handler(text);
}

} // namespace rondelix::platform::linux_desktop

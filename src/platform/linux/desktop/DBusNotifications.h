#pragma once

#include "platform/Notifications.h"

#include <QDBusConnection>
#include <QObject>
#include <map>
#include <set>

class QDBusMessage;

namespace rondelix::platform {
class Log;
}

namespace rondelix::platform::linux_desktop {

// Notices as signals on the session bus: "org.example.Program.topic.verb" is
// the member "verb" of the interface "org.example.Program.topic", from any
// object path, carrying an optional string. Only the session bus is heard:
// its daemon admits the user's own programs alone. Without a session bus the
// program logs one line and hears nothing.
class DBusNotifications final : public QObject, public Notifications {
    Q_OBJECT

  public:
    explicit DBusNotifications(Log& log, QDBusConnection bus = QDBusConnection::sessionBus());

    Token observe(const std::string& name, Handler handler) override;
    void remove(Token token) override;

  private slots:
    void received(const QDBusMessage& message);

  private:
    struct Observer {
        std::string name;
        Handler handler;
    };

    Log& log_;
    QDBusConnection bus_;
    std::map<Token, Observer> observers_;
    std::set<std::string> listening_;
    Token lastToken_ = 0;
    bool loggedNoBus_ = false;
};

} // namespace rondelix::platform::linux_desktop

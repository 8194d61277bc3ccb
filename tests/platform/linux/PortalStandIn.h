#pragma once

#include "platform/linux/BusResponder.h"

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVariant>
#include <QMap>
#include <QVariantMap>

namespace rondelix::testing {

// The settings portal as desktops serve it: ReadAll and SettingChanged.
class PortalStandIn {
  public:
    explicit PortalStandIn(const QString& address)
        : connection_(QDBusConnection::connectToBus(address, "portal")),
          readAll_("org.freedesktop.portal.Settings", "ReadAll", [this](const QVariantList&) {
              QDBusArgument all;
              all.beginMap(QMetaType::fromType<QString>(), QMetaType::fromType<QVariantMap>());
              for (auto it = values.cbegin(); it != values.cend(); ++it) {
                  all.beginMapEntry();
                  all << it.key() << it.value();
                  all.endMapEntry();
              }
              all.endMap();
              return QVariant::fromValue(all);
          }) {}
    ~PortalStandIn() { QDBusConnection::disconnectFromBus("portal"); }

    bool start() {
        return connection_.registerVirtualObject("/org/freedesktop/portal/desktop", &readAll_) &&
               connection_.registerService("org.freedesktop.portal.Desktop");
    }
    void change(const QString& space, const QString& key, const QVariant& value) {
        values[space][key] = value;
        QDBusMessage signal = QDBusMessage::createSignal("/org/freedesktop/portal/desktop",
                                                         "org.freedesktop.portal.Settings", "SettingChanged");
        signal.setArguments({space, key, QVariant::fromValue(QDBusVariant(value))});
        connection_.send(signal);
    }

    QMap<QString, QVariantMap> values;

  private:
    QDBusConnection connection_;
    BusResponder readAll_;
};

} // namespace rondelix::testing

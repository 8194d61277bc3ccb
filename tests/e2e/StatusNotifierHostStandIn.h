#pragma once

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVariant>
#include <QDBusVirtualObject>
#include <QImage>
#include <QStringList>

namespace rondelix::testing {

// A panel that hosts tray items itself, as Xfce's, MATE's and KDE's do: it
// keeps the items' register and reads an item's icon as the panel would,
// the pictures it offers and the theme icon it names.
class StatusNotifierHostStandIn final : public QDBusVirtualObject {
  public:
    explicit StatusNotifierHostStandIn(const QString& address)
        : connection_(QDBusConnection::connectToBus(address, "tray-host")) {}
    ~StatusNotifierHostStandIn() override { QDBusConnection::disconnectFromBus("tray-host"); }

    bool start() {
        return connection_.registerVirtualObject("/StatusNotifierWatcher", this) &&
               connection_.registerService("org.kde.StatusNotifierWatcher");
    }

    // The largest picture the first item offers, empty before one registered.
    QImage icon() {
        if (items_.isEmpty()) return {};
        const QString item = items_.front();
        const qsizetype slash = item.indexOf('/');
        QDBusMessage get = QDBusMessage::createMethodCall(slash < 0 ? item : item.left(slash),
                                                          slash < 0 ? "/StatusNotifierItem" : item.mid(slash),
                                                          "org.freedesktop.DBus.Properties", "Get");
        get.setArguments({"org.kde.StatusNotifierItem", "IconPixmap"});
        const QDBusMessage reply = connection_.call(get, QDBus::Block, 3000);
        if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty()) return {};
        const QDBusArgument pictures =
            reply.arguments().front().value<QDBusVariant>().variant().value<QDBusArgument>();
        QImage largest;
        pictures.beginArray();
        while (!pictures.atEnd()) {
            int width = 0, height = 0;
            QByteArray argb;
            pictures.beginStructure();
            pictures >> width >> height >> argb;
            pictures.endStructure();
            if (width <= largest.width() || argb.size() < qsizetype(width) * height * 4) continue;
            // Each pixel is ARGB in network order.
            largest = QImage(width, height, QImage::Format_ARGB32);
            for (int y = 0; y < height; ++y)
                for (int x = 0; x < width; ++x) {
                    const auto* p = reinterpret_cast<const uchar*>(argb.constData()) + (y * width + x) * 4;
                    largest.setPixel(x, y, qRgba(p[1], p[2], p[3], p[0]));
                }
        }
        pictures.endArray();
        return largest;
    }

    QString introspect(const QString&) const override {
        return R"(<interface name="org.kde.StatusNotifierWatcher">
  <method name="RegisterStatusNotifierItem"><arg name="service" type="s" direction="in"/></method>
  <method name="RegisterStatusNotifierHost"><arg name="service" type="s" direction="in"/></method>
  <property name="RegisteredStatusNotifierItems" type="as" access="read"/>
  <property name="IsStatusNotifierHostRegistered" type="b" access="read"/>
  <property name="ProtocolVersion" type="i" access="read"/>
</interface>)";
    }

    bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override {
        if (message.member() == "RegisterStatusNotifierItem" && !message.arguments().isEmpty()) {
            const QString named = message.arguments().front().toString();
            // An item names its service, or only its path on the caller's connection.
            items_.push_back(named.startsWith('/') ? message.service() + named : named);
            return connection.send(message.createReply());
        }
        if (message.member() == "RegisterStatusNotifierHost") return connection.send(message.createReply());
        if (message.member() != "Get" || message.arguments().size() < 2) return false;
        const QString property = message.arguments().at(1).toString();
        QVariant value;
        if (property == "IsStatusNotifierHostRegistered")
            value = true;
        else if (property == "ProtocolVersion")
            value = 0;
        else if (property == "RegisteredStatusNotifierItems")
            value = items_;
        else
            return false;
        return connection.send(message.createReply(QVariant::fromValue(QDBusVariant(value))));
    }

  private:
    QDBusConnection connection_;
    QStringList items_;
};

} // namespace rondelix::testing

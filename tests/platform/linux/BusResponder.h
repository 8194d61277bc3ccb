#pragma once

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVirtualObject>
#include <functional>

namespace rondelix::testing {

// Answers one method of one interface at one object path; everything else
// is left to the bus's default error.
class BusResponder : public QDBusVirtualObject {
  public:
    using Handler = std::function<QVariant(const QVariantList&)>;
    BusResponder(QString interface, QString member, Handler handler)
        : interface_(std::move(interface)), member_(std::move(member)), handler_(std::move(handler)) {}
    QString introspect(const QString&) const override { return {}; }
    bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override {
        if (message.interface() != interface_ || message.member() != member_) return false;
        return connection.send(message.createReply(handler_(message.arguments())));
    }

  private:
    QString interface_, member_;
    Handler handler_;
};

} // namespace rondelix::testing

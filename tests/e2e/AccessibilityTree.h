// The program's accessibility tree as a screen reader reaches it through the
// desktop's accessibility bus: objects by role, name and labels, where they
// lie on the screen, and a name read again as it changes.

#pragma once

#include "AccessibilityBus.h"

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusReply>
#include <QDBusVariant>

namespace rondelix::e2e {

// One object on the accessibility bus: the program that serves it and its path.
struct Node {
    QString service;
    QString path;
};

// The roles, names and labels of the objects a screen reader reaches, and
// whether Tab can reach them where they show.
struct Seen {
    QString role;
    QString name;
    QString description;
    QStringList labelledBy;
    bool focusableInSight = false;
    Node node;
};

class AccessibilityTree {
  public:
    explicit AccessibilityTree(const AccessibilityBus& bus) {
        auto session = QDBusConnection::connectToBus(bus.address, "test-session");
        const QDBusReply<QString> address = session.call(
            QDBusMessage::createMethodCall("org.a11y.Bus", "/org/a11y/bus", "org.a11y.Bus", "GetAddress"));
        if (address.isValid()) bus_ = QDBusConnection::connectToBus(address.value(), "test-a11y");
    }
    ~AccessibilityTree() {
        QDBusConnection::disconnectFromBus("test-a11y");
        QDBusConnection::disconnectFromBus("test-session");
    }

    // Everything under the applications on the bus, as far as `limit` objects.
    std::vector<Seen> read(std::size_t limit = 4000) {
        std::vector<Seen> seen;
        std::vector<Node> queue = children({"org.a11y.atspi.Registry", "/org/a11y/atspi/accessible/root"});
        while (!queue.empty() && seen.size() < limit) {
            const Node node = queue.back();
            queue.pop_back();
            seen.push_back({call<QString>(node, "GetRoleName"), property(node, "Name"),
                            property(node, "Description"), labels(node), focusableInSight(node), node});
            for (const Node& child : children(node))
                queue.push_back(child);
        }
        return seen;
    }

    // The object's name as it is now: a button's name follows its text.
    QString name(const Node& node) { return property(node, "Name"); }

    // Where the object lies on the screen.
    QRect extents(const Node& node) {
        auto ask =
            QDBusMessage::createMethodCall(node.service, node.path, "org.a11y.atspi.Component", "GetExtents");
        ask << uint(0);
        const QDBusMessage reply = bus_.call(ask, QDBus::Block, 2000);
        if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty()) return {};
        int x = 0, y = 0, width = 0, height = 0;
        const QDBusArgument box = reply.arguments().front().value<QDBusArgument>();
        box.beginStructure();
        box >> x >> y >> width >> height;
        box.endStructure();
        return {x, y, width, height};
    }

  private:
    QDBusMessage message(const Node& node, const char* method,
                         const char* interface = "org.a11y.atspi.Accessible") {
        return bus_.call(QDBusMessage::createMethodCall(node.service, node.path, interface, method),
                         QDBus::Block, 2000);
    }
    template <typename T> T call(const Node& node, const char* method) {
        const QDBusReply<T> reply = message(node, method);
        return reply.isValid() ? reply.value() : T();
    }
    QString property(const Node& node, const char* which) {
        auto get =
            QDBusMessage::createMethodCall(node.service, node.path, "org.freedesktop.DBus.Properties", "Get");
        get << QString("org.a11y.atspi.Accessible") << QString(which);
        const QDBusReply<QDBusVariant> reply = bus_.call(get, QDBus::Block, 2000);
        return reply.isValid() ? reply.value().variant().toString() : QString();
    }
    static std::vector<Node> nodes(const QDBusArgument& array) {
        std::vector<Node> found;
        array.beginArray();
        while (!array.atEnd()) {
            Node node;
            QDBusObjectPath path;
            array.beginStructure();
            array >> node.service >> path;
            array.endStructure();
            node.path = path.path();
            found.push_back(node);
        }
        array.endArray();
        return found;
    }
    std::vector<Node> children(const Node& node) {
        const QDBusMessage reply = message(node, "GetChildren");
        if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty()) return {};
        return nodes(reply.arguments().front().value<QDBusArgument>());
    }
    bool focusableInSight(const Node& node) {
        constexpr uint focusable = 11, showing = 25;
        const QDBusMessage reply = message(node, "GetState");
        if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty()) return false;
        const auto words = qdbus_cast<QList<uint>>(reply.arguments().front());
        const auto has = [&](uint bit) {
            return words.size() > int(bit / 32) && (words[bit / 32] >> (bit % 32)) & 1;
        };
        return has(focusable) && has(showing);
    }
    // The names of the objects this one is labelled by.
    QStringList labels(const Node& node) {
        constexpr uint labelledBy = 2;
        const QDBusMessage reply = message(node, "GetRelationSet");
        if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty()) return {};
        QStringList names;
        const QDBusArgument set = reply.arguments().front().value<QDBusArgument>();
        set.beginArray();
        while (!set.atEnd()) {
            uint type = 0;
            set.beginStructure();
            set >> type;
            const QDBusArgument targets = qvariant_cast<QDBusArgument>(set.asVariant());
            set.endStructure();
            if (type == labelledBy)
                for (const Node& target : nodes(targets))
                    names << property(target, "Name");
        }
        set.endArray();
        return names;
    }

    QDBusConnection bus_{QString()};
};

inline bool has(const std::vector<Seen>& tree, const QString& role, const QString& name,
                const QString& label = {}) {
    return std::ranges::any_of(tree, [&](const Seen& s) {
        return s.role == role && (name.isEmpty() || s.name == name) &&
               (label.isEmpty() || s.labelledBy.contains(label));
    });
}

inline std::string dump(const std::vector<Seen>& tree) {
    std::string text;
    for (const Seen& s : tree)
        text += (s.focusableInSight ? "* " : "  ") + s.role.toStdString() + " «" + s.name.toStdString() +
                "» " + s.labelledBy.join(',').toStdString() + "\n";
    return text;
}

} // namespace rondelix::e2e

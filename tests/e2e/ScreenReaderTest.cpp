// What a screen reader hears from the running program: its accessibility tree
// read through the desktop's accessibility bus.

#include "AccessibilityBus.h"

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusReply>
#include <QDBusVariant>

namespace rondelix {
namespace {

using namespace e2e;

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

bool has(const std::vector<Seen>& tree, const QString& role, const QString& name, const QString& label = {}) {
    return std::ranges::any_of(tree, [&](const Seen& s) {
        return s.role == role && (name.isEmpty() || s.name == name) &&
               (label.isEmpty() || s.labelledBy.contains(label));
    });
}

std::string dump(const std::vector<Seen>& tree) {
    std::string text;
    for (const Seen& s : tree)
        text += (s.focusableInSight ? "* " : "  ") + s.role.toStdString() + " «" + s.name.toStdString() +
                "» " + s.labelledBy.join(',').toStdString() + "\n";
    return text;
}

// My Wheels as a screen reader reads it: every control Tab reaches named,
// the pills and slots as lists, the inspector's fields and the slice form's
// pickers by their row labels; then the summoned wheel and its aimed slice.
TEST_F(EndToEnd, AScreenReaderHearsEveryControlOfMyWheelsNamedAndTheFieldsByTheirLabels) {
    AccessibilityBus bus(home.path / "bus");
    ASSERT_TRUE(bus.ready)
        << "the accessibility bus did not start (scripts/setup installs at-spi2-core and dbus-daemon)";
    QProcessEnvironment environment = bus.environment();
    environment.insert("QT_LINUX_ACCESSIBILITY_ALWAYS_ON", "1");
    Program program(home.path, "screen-reader", {}, environment);
    ASSERT_FALSE(readyMainWindow(program).empty()) << program.log();

    AccessibilityTree reader(bus);
    std::vector<Seen> tree;
    waitFor([&] { return has(tree = reader.read(), "combo box", "", "Icon"); }, 20);
    const std::string all = dump(tree);
    for (const Seen& seen : tree)
        if (seen.focusableInSight) {
            EXPECT_FALSE(seen.name.isEmpty() && seen.labelledBy.isEmpty()) << seen.role.toStdString() << "\n"
                                                                           << all;
        }
    EXPECT_TRUE(has(tree, "text", "Name", "Name")) << all;
    EXPECT_TRUE(has(tree, "combo box", "8", "Slices")) << all;
    EXPECT_TRUE(has(tree, "push button", "Any App (Manual)", "Opens for")) << all;
    EXPECT_TRUE(has(tree, "text", "Label")) << all;
    EXPECT_TRUE(has(tree, "combo box", "None", "Icon")) << all;
    EXPECT_TRUE(has(tree, "combo box", "Script", "Action")) << all;
    EXPECT_TRUE(has(tree, "text", "Script")) << all;
    EXPECT_TRUE(has(tree, "list item", "My Wheels")) << all;
    // The pills and the preview's slots: a list each, an item per wheel and
    // per slot by its place and label.
    EXPECT_TRUE(has(tree, "list", "Wheels")) << all;
    EXPECT_TRUE(has(tree, "list item", "Main")) << all;
    EXPECT_TRUE(has(tree, "list", "Slices")) << all;
    const auto topSlot = std::ranges::find_if(
        tree, [](const Seen& s) { return s.role == "list item" && s.name.startsWith("Top: "); });
    ASSERT_NE(topSlot, tree.end()) << all;
    const QString topLabel = topSlot->name.mid(5);

    // The summoned wheel by its name, and the slice aimed at.
    ASSERT_GE(summonAt({800, 520}, "screen-reader-summoned.png").width(), 300) << program.log();
    aimAtTopSlot();
    QString aimed;
    waitFor(
        [&] {
            for (const Seen& seen : reader.read())
                if (seen.role == "graphic" && seen.name == "Main" && !seen.description.isEmpty())
                    aimed = seen.description;
            return !aimed.isEmpty();
        },
        5);
    xdotool("key Escape");
    release();
    EXPECT_EQ(aimed.toStdString(), topLabel.toStdString());
    EXPECT_EQ(program.stop(), 0);
}

// Every control in sight named, or the tree dumped.
void expectEveryControlNamed(const std::vector<Seen>& tree) {
    for (const Seen& seen : tree)
        if (seen.focusableInSight) {
            EXPECT_FALSE(seen.name.isEmpty() && seen.labelledBy.isEmpty()) << seen.role.toStdString() << "\n"
                                                                           << dump(tree);
        }
}

// The icon pickers as a screen reader reads them: the emoji field and its
// open popup (search, groups, grid), then the symbol picker's search, each
// opened by a click where the reader says its button lies.
TEST_F(EndToEnd, AScreenReaderHearsTheIconPickersAndTheOpenEmojiPopup) {
    Config config = *decodeConfigBytes(readFile(home.configFolder() / "config.json"));
    for (Wheel& wheel : config.wheels)
        for (Slice& slice : wheel.slices)
            if (wheel.id == "default" && slice.position == 0) slice.icon = Icon{Icon::Emoji{"\U0001F680"}};
    writeFile(home.configFolder() / "config.json", writeConfigFile(config));
    AccessibilityBus bus(home.path / "bus");
    ASSERT_TRUE(bus.ready)
        << "the accessibility bus did not start (scripts/setup installs at-spi2-core and dbus-daemon)";
    QProcessEnvironment environment = bus.environment();
    environment.insert("QT_LINUX_ACCESSIBILITY_ALWAYS_ON", "1");
    Program program(home.path, "screen-reader-pickers", {}, environment);
    ASSERT_FALSE(readyMainWindow(program).empty()) << program.log();

    AccessibilityTree reader(bus);
    std::vector<Seen> tree;
    const auto seen = [&](const QString& role, const QString& name) {
        return waitFor([&] { return has(tree = reader.read(), role, name); }, 20);
    };
    const auto click = [&](const QString& role, const QString& name) {
        const auto found =
            std::ranges::find_if(tree, [&](const Seen& s) { return s.role == role && s.name == name; });
        ASSERT_NE(found, tree.end()) << dump(tree);
        const QRect box = reader.extents(found->node);
        xdotool("mousemove " + pointText(box.center()) + " click 1");
    };

    ASSERT_TRUE(seen("push button", "Choose Emoji…")) << dump(tree);
    EXPECT_TRUE(has(tree, "text", "Emoji")) << dump(tree);
    expectEveryControlNamed(tree);
    click("push button", "Choose Emoji…");
    ASSERT_TRUE(seen("text", "Search emoji")) << dump(tree);
    grabScreen().save(artifact("screen-reader-emoji-popup.png"));
    EXPECT_TRUE(has(tree, "page tab", "Smileys & Emotion")) << dump(tree);
    EXPECT_TRUE(has(tree, "list", "Emoji")) << dump(tree);
    expectEveryControlNamed(tree);
    xdotool("key Escape");

    // The icon's kind from Emoji up to Symbol, then the symbol picker.
    ASSERT_TRUE(seen("combo box", "Emoji")) << dump(tree);
    const std::set<std::string> windows = windowsOf(program);
    click("combo box", "Emoji");
    ASSERT_FALSE(newWindowOf(program, windows).empty()) << "the icon's kinds did not open";
    xdotool("key Up Return");
    ASSERT_TRUE(seen("push button", "Choose Symbol…")) << dump(tree);
    click("push button", "Choose Symbol…");
    ASSERT_TRUE(seen("text", "Search symbols")) << dump(tree);
    expectEveryControlNamed(tree);
    xdotool("key Escape");
    EXPECT_EQ(program.stop(), 0);
}

} // namespace
} // namespace rondelix

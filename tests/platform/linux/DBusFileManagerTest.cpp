#include "platform/linux/desktop/DBusFileManager.h"

#include "platform/linux/DesktopApplication.h"
#include "platform/linux/PrivateSessionBus.h"

#include <QDBusMessage>
#include <QDBusVirtualObject>
#include <gtest/gtest.h>
#include <optional>

namespace rondelix::platform::linux_desktop {
namespace {

// A file manager that offers the interface, on a bus of its own: it records
// what it was asked to show and answers.
class FileManagerStandIn final : public QDBusVirtualObject {
  public:
    QString introspect(const QString&) const override { return {}; }
    bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override {
        if (message.interface() != "org.freedesktop.FileManager1" || message.member() != "ShowItems")
            return false;
        shown = message.arguments().value(0).toStringList();
        connection.send(message.createReply());
        return true;
    }
    QStringList shown;
};

// Asks on the bus; what it answered once it did.
std::optional<bool> showOn(const QDBusConnection& bus, const std::string& path) {
    std::optional<bool> answered;
    DBusFileManager::showItem(bus, path, [&](bool shown) { answered = shown; });
    testing::untilWithEvents([&] { return answered.has_value(); });
    return answered;
}

TEST(DBusFileManager, ShowsTheFileWhereAFileManagerOffersItAndSaysSoWhereNoneDoes) {
    if (!testing::desktopApplication()) GTEST_SKIP() << "needs the X server the test script starts";
    testing::PrivateSessionBus bus;
    ASSERT_TRUE(bus.up());
    const QDBusConnection program = QDBusConnection::connectToBus(bus.address, "program");
    EXPECT_EQ(showOn(program, "/home/someone/.config/rondelix/config.json"), false);

    QDBusConnection fileManager = QDBusConnection::connectToBus(bus.address, "fileManager");
    FileManagerStandIn standIn;
    ASSERT_TRUE(fileManager.registerVirtualObject("/org/freedesktop/FileManager1", &standIn));
    ASSERT_TRUE(fileManager.registerService("org.freedesktop.FileManager1"));
    EXPECT_EQ(showOn(program, "/tmp/my files/Rondelix-Diagnostics-1.0 #2.txt"), true);
    EXPECT_EQ(standIn.shown, QStringList{"file:///tmp/my%20files/Rondelix-Diagnostics-1.0%20%232.txt"});

    fileManager.unregisterObject("/org/freedesktop/FileManager1");
    QDBusConnection::disconnectFromBus("fileManager");
    QDBusConnection::disconnectFromBus("program");
}

} // namespace
} // namespace rondelix::platform::linux_desktop

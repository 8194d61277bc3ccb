#include "platform/linux/DBusNotifications.h"

#include "platform/linux/DesktopApplication.h"
#include "platform/sim/SimLog.h"

#include <QDBusMessage>
#include <QDeadlineTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <unistd.h>

namespace rondelix::platform::linux_desktop {
namespace {

using Received = std::vector<std::optional<std::string>>;

// A private session bus of the test's own, gone with the fixture.
class DBusNotificationsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!testing::desktopApplication()) GTEST_SKIP() << "needs the X server the test script starts";
        address = "unix:path=" + folder.filePath("bus");
        daemon.start("dbus-daemon", {"--session", "--nofork", "--address=" + address});
        ASSERT_TRUE(daemon.waitForStarted());
        // A failed connection stays under its name; each try takes a fresh one.
        ASSERT_TRUE(until([&] {
            const bool up = QDBusConnection::connectToBus(address, "probe").isConnected();
            QDBusConnection::disconnectFromBus("probe");
            return up;
        }));
        notifications =
            std::make_unique<DBusNotifications>(log, QDBusConnection::connectToBus(address, "program"));
        notifications->observe("com.tovarel.Rondelix.demo.play",
                               [this](const std::optional<std::string>& text) { received.push_back(text); });
    }
    void TearDown() override {
        notifications.reset();
        QDBusConnection::disconnectFromBus("program");
        QDBusConnection::disconnectFromBus("sender");
        daemon.kill();
        daemon.waitForFinished();
    }
    template <typename Check> static bool until(Check check) {
        const QDeadlineTimer deadline(5000);
        while (!check() && !deadline.hasExpired())
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        return check();
    }
    void send(const QString& interface, const QString& member, const QVariantList& arguments) {
        QDBusMessage signal = QDBusMessage::createSignal("/com/tovarel/Rondelix", interface, member);
        signal.setArguments(arguments);
        ASSERT_TRUE(QDBusConnection::connectToBus(address, "sender").send(signal));
    }

    QTemporaryDir folder;
    QString address;
    QProcess daemon;
    sim::SimLog log;
    std::unique_ptr<DBusNotifications> notifications;
    Received received;
};

TEST_F(DBusNotificationsTest, DeliversTheNamedSignalWithItsTextWhenItCarriesOne) {
    send("com.tovarel.Rondelix.demo", "stop", {});                // another name
    send("com.tovarel.Rondelix.other", "play", {});               // another interface
    send("com.tovarel.Rondelix.demo", "play", {QString("dark")}); // text
    send("com.tovarel.Rondelix.demo", "play", {42});              // not a text
    send("com.tovarel.Rondelix.demo", "play", {});                // nothing
    ASSERT_TRUE(until([&] { return received.size() >= 3; }));
    EXPECT_EQ(received, (Received{"dark", std::nullopt, std::nullopt}));
}

TEST_F(DBusNotificationsTest, AnotherUserCannotSendOnTheSessionBus) {
    if (::getuid() != 0) GTEST_SKIP() << "needs to switch to another user";
    QProcess other;
    other.start("setpriv",
                {"--reuid=65534", "--regid=65534", "--clear-groups", "dbus-send", "--bus=" + address,
                 "--type=signal", "/com/tovarel/Rondelix", "com.tovarel.Rondelix.demo.play", "string:other"});
    ASSERT_TRUE(other.waitForFinished(10000));
    EXPECT_NE(other.exitCode(), 0) << "the bus let another user in";
    send("com.tovarel.Rondelix.demo", "play", {QString("own")});
    ASSERT_TRUE(until([&] { return !received.empty(); }));
    EXPECT_EQ(received, (Received{"own"}));
}

TEST_F(DBusNotificationsTest, WithoutABusSaysSoOnceAndHearsNothing) {
    DBusNotifications offline(log,
                              QDBusConnection::connectToBus(QString("unix:path=/nonexistent/bus"), "none"));
    log.clear();
    offline.observe("com.tovarel.Rondelix.demo.play", [](const std::optional<std::string>&) {});
    offline.observe("com.tovarel.Rondelix.demo.stop", [](const std::optional<std::string>&) {});
    EXPECT_EQ(log.lines(), std::vector<std::string>{
                               "Rondelix: no session D-Bus — notices from other programs are unavailable."});
    QDBusConnection::disconnectFromBus("none");
}

} // namespace
} // namespace rondelix::platform::linux_desktop

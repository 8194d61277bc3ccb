#include "platform/linux/desktop/DBusNotifications.h"

#include "platform/linux/DesktopApplication.h"
#include "platform/linux/PrivateSessionBus.h"
#include "platform/sim/SimLog.h"
#include "support/Patience.h"

#include <QDBusMessage>
#include <QProcess>
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
        ASSERT_TRUE(bus.up());
        notifications =
            std::make_unique<DBusNotifications>(log, QDBusConnection::connectToBus(bus.address, "program"));
        notifications->observe("com.tovarel.Rondelix.demo.play",
                               [this](const std::optional<std::string>& text) { received.push_back(text); });
    }
    void TearDown() override {
        notifications.reset();
        QDBusConnection::disconnectFromBus("program");
        QDBusConnection::disconnectFromBus("sender");
    }
    void send(const QString& interface, const QString& member, const QVariantList& arguments) {
        QDBusMessage signal = QDBusMessage::createSignal("/com/tovarel/Rondelix", interface, member);
        signal.setArguments(arguments);
        ASSERT_TRUE(QDBusConnection::connectToBus(bus.address, "sender").send(signal));
    }

    testing::PrivateSessionBus bus;
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
    ASSERT_TRUE(testing::untilWithEvents([&] { return received.size() >= 3; }));
    EXPECT_EQ(received, (Received{"dark", std::nullopt, std::nullopt}));
}

TEST_F(DBusNotificationsTest, AnotherUserCannotSendOnTheSessionBus) {
    if (::getuid() != 0) GTEST_SKIP() << "needs to switch to another user";
    QProcess other;
    other.start("setpriv",
                {"--reuid=65534", "--regid=65534", "--clear-groups", "dbus-send", "--bus=" + bus.address,
                 "--type=signal", "/com/tovarel/Rondelix", "com.tovarel.Rondelix.demo.play", "string:other"});
    ASSERT_TRUE(other.waitForFinished(static_cast<int>(testing::patience * 1000)));
    EXPECT_NE(other.exitCode(), 0) << "the bus let another user in";
    send("com.tovarel.Rondelix.demo", "play", {QString("own")});
    ASSERT_TRUE(testing::untilWithEvents([&] { return !received.empty(); }));
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

#pragma once

#include "support/IsolatedBusConfig.h"
#include "support/Patience.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDeadlineTimer>
#include <QProcess>
#include <QTemporaryDir>

namespace rondelix::testing {

// Runs the application's events until the check holds or the patience runs out:
// bus calls, their replies and finished child processes reach a test only
// through them.
template <typename Check> bool untilWithEvents(Check check) {
    const QDeadlineTimer deadline(static_cast<qint64>(patience * 1000));
    while (!check() && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    return check();
}

// A session bus of the test's own, in a folder of its own; gone with it.
class PrivateSessionBus {
  public:
    PrivateSessionBus() {
        address = "unix:path=" + folder_.filePath("bus");
        daemon_.start("dbus-daemon", {QString::fromStdString(isolatedBusConfigArgument()), "--nofork",
                                      "--address=" + address});
        // A failed connection stays under its name; each try takes a fresh one.
        up_ = daemon_.waitForStarted() && untilWithEvents([&] {
                  const bool up = QDBusConnection::connectToBus(address, "probe").isConnected();
                  QDBusConnection::disconnectFromBus("probe");
                  return up;
              });
    }
    ~PrivateSessionBus() {
        daemon_.kill();
        daemon_.waitForFinished();
    }
    // Whether programs can connect to it.
    bool up() const { return up_; }

    QString address;

  private:
    QTemporaryDir folder_;
    QProcess daemon_;
    bool up_ = false;
};

} // namespace rondelix::testing

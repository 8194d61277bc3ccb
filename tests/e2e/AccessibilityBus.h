// A session bus of the test's own with the desktop's accessibility bus beside
// it, as a desktop with accessibility on runs them, and what the test hears
// of the focus changes programs announce there.

#pragma once

#include "EndToEndRig.h"

#include <QRegularExpression>

namespace rondelix::e2e {

struct AccessibilityBus {
    // `runtime` is made as a private runtime folder for the two buses.
    explicit AccessibilityBus(const fs::path& runtime) {
        fs::create_directories(runtime);
        fs::permissions(runtime, fs::perms::owner_all);
        QProcessEnvironment environment;
        environment.insert("DISPLAY", qEnvironmentVariable("DISPLAY"));
        environment.insert("PATH", qEnvironmentVariable("PATH"));
        environment.insert("HOME", QString::fromStdString(runtime.string()));
        environment.insert("XDG_RUNTIME_DIR", QString::fromStdString(runtime.string()));
        const QString configuration = QString::fromStdString(testing::isolatedBusConfigArgument());
        // Its own process group, so that nothing it starts outlives it.
        session.setProcessEnvironment(environment);
        session.setChildProcessModifier([] { ::setsid(); });
        session.start("dbus-daemon", {configuration, "--nofork", "--print-address"});
        if (!session.waitForReadyRead(static_cast<int>(patience * 1000))) return;
        address = QString::fromUtf8(session.readLine()).trimmed();
        environment.insert("DBUS_SESSION_BUS_ADDRESS", address);
        environment_ = environment;
        launcher.setProcessEnvironment(environment);
        launcher.setChildProcessModifier([] { ::setsid(); });
        launcher.start("/usr/libexec/at-spi-bus-launcher", {"--launch-immediately", "--a11y=1"});
        ready = found();
    }
    ~AccessibilityBus() {
        stop();
        monitor.kill();
        monitor.waitForFinished(2000);
        if (session.state() != QProcess::NotRunning) ::kill(-pid_t(session.processId()), SIGKILL);
        session.waitForFinished(2000);
    }

    // Waits until the accessibility bus runs, and from then on records the focus changes announced on it;
    // false when it does not run within `patience` seconds.
    bool found() {
        QString found;
        const bool answered = waitFor(
            [&] {
                return hasOwner(address, "org.a11y.Bus") &&
                       !(found = ask(address, "org.a11y.Bus", "/org/a11y/bus", "org.a11y.Bus.GetAddress")
                                     .section('"', 1, 1))
                            .isEmpty();
            },
            patience);
        if (!answered) return false;
        if (found == accessibilityAddress && monitor.state() == QProcess::Running) return true;
        accessibilityAddress = found;
        monitor.kill();
        monitor.waitForFinished(2000);
        heard_.clear();
        monitor.start("dbus-monitor", {"--address", accessibilityAddress,
                                       "type='signal',interface='org.a11y.atspi.Event.Object',"
                                       "member='StateChanged',arg0='focused'"});
        // It names the bus's first words to it once it listens.
        return waitFor([&] { return !heard().isEmpty(); }, patience);
    }
    // Whether a program has asked the bus's registry for `event`: the
    // program asks a moment after it is ready, once it has found the bus.
    bool someoneListensFor(const QString& event) const {
        return ask(accessibilityAddress, "org.a11y.atspi.Registry", "/org/a11y/atspi/registry",
                   "org.a11y.atspi.Registry.GetRegisteredEvents")
            .contains(event);
    }
    // Whether the process `pid` has announced on the bus that one of its
    // elements took the focus.
    bool announcedFocusOf(qint64 pid) {
        static const QRegularExpression focused(
            R"(sender=(\S+) [^\n]*member=StateChanged\n\s+string "focused"\n\s+int32 1\n)");
        for (auto match = focused.globalMatch(heard()); match.hasNext();)
            if (ownerOf(accessibilityAddress, match.next().captured(1)) == pid) return true;
        return false;
    }
    // Ends the accessibility bus and everything it started, as a crashed or
    // disabled one would; the session bus stays.
    void stop() {
        if (launcher.state() == QProcess::NotRunning) return;
        ::kill(-pid_t(launcher.processId()), SIGKILL);
        launcher.waitForFinished(2000);
    }
    // What a program started on the session bus needs.
    QProcessEnvironment environment() const {
        QProcessEnvironment e;
        e.insert("DBUS_SESSION_BUS_ADDRESS", address);
        return e;
    }

    QProcess session;
    QProcess launcher;
    QProcess monitor;
    QString address;
    QString accessibilityAddress;
    bool ready = false;

  private:
    bool hasOwner(const QString& bus, const QString& name) const {
        return ask(bus, "org.freedesktop.DBus", "/", "org.freedesktop.DBus.NameHasOwner", "string:" + name)
            .contains("boolean true");
    }
    // The process that owns `name` on `bus`, or 0.
    qint64 ownerOf(const QString& bus, const QString& name) const {
        const QString reply = ask(bus, "org.freedesktop.DBus", "/",
                                  "org.freedesktop.DBus.GetConnectionUnixProcessID", "string:" + name);
        return reply.section("uint32 ", 1).trimmed().toLongLong();
    }
    // The reply dbus-send prints, or nothing when the call fails.
    QString ask(const QString& bus, const QString& destination, const QString& path, const QString& method,
                const QString& argument = {}) const {
        QProcess call;
        call.setProcessEnvironment(environment_);
        QStringList arguments{"--bus=" + bus, "--print-reply", "--dest=" + destination, path, method};
        if (!argument.isEmpty()) arguments << argument;
        call.start("dbus-send", arguments);
        if (!call.waitForFinished(static_cast<int>(patience * 1000)) || call.exitCode() != 0) return {};
        return QString::fromUtf8(call.readAllStandardOutput());
    }
    const QString& heard() {
        monitor.waitForReadyRead(20);
        heard_ += QString::fromUtf8(monitor.readAllStandardOutput());
        return heard_;
    }

    QProcessEnvironment environment_;
    QString heard_;
};

} // namespace rondelix::e2e

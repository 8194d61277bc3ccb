// A session bus of the test's own with the desktop's accessibility bus beside
// it, and what the test hears of the focus changes programs announce there.

#pragma once

#include "EndToEndRig.h"

#include <QRegularExpression>

namespace rondelix::e2e {

struct AccessibilityBus {
    // How the accessibility bus comes up: with the session, before any
    // program asks for it, as most desktops start it; or started by the first
    // program that asks the session bus where it is, as in a session that
    // starts nothing for accessibility.
    enum class Start { withTheSession, onRequest };

    // `runtime` is made as a private runtime folder for the two buses.
    explicit AccessibilityBus(const fs::path& runtime, Start start = Start::withTheSession) {
        fs::create_directories(runtime);
        fs::permissions(runtime, fs::perms::owner_all);
        QProcessEnvironment environment;
        environment.insert("DISPLAY", qEnvironmentVariable("DISPLAY"));
        environment.insert("PATH", qEnvironmentVariable("PATH"));
        environment.insert("HOME", QString::fromStdString(runtime.string()));
        environment.insert("XDG_RUNTIME_DIR", QString::fromStdString(runtime.string()));
        QString configuration = QString::fromStdString(testing::isolatedBusConfigArgument());
        if (start == Start::onRequest) {
            // As slow to come up as at a login, where every program starts at
            // once.
            writeFile(runtime / "services" / "org.a11y.Bus.service",
                      "[D-BUS Service]\nName=org.a11y.Bus\n"
                      "Exec=/bin/sh -c 'sleep 2; exec /usr/libexec/at-spi-bus-launcher'\n");
            writeFile(runtime / "session.conf",
                      "<!DOCTYPE busconfig PUBLIC \"-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN\"\n"
                      " \"http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd\">\n<busconfig>\n"
                      "  <include>" +
                          configuration.section('=', 1).toStdString() + "</include>\n  <servicedir>" +
                          (runtime / "services").string() + "</servicedir>\n</busconfig>\n");
            configuration = QString::fromStdString("--config-file=" + (runtime / "session.conf").string());
        }
        // Its own process group, so stopping it reaches the launcher it
        // starts on request, and that one's bus and registry.
        session.setProcessEnvironment(environment);
        session.setChildProcessModifier([] { ::setsid(); });
        session.start("dbus-daemon", {configuration, "--nofork", "--print-address"});
        if (!session.waitForReadyRead(static_cast<int>(patience * 1000))) return;
        address = QString::fromUtf8(session.readLine()).trimmed();
        environment.insert("DBUS_SESSION_BUS_ADDRESS", address);
        environment_ = environment;
        if (start == Start::onRequest) {
            ready = true;
            return;
        }
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

    // Waits until the accessibility bus runs, however it came up, and from
    // then on records the focus changes announced on it; false when it does
    // not run within `patience` seconds.
    bool found() {
        QString found;
        // Asking where it is would start it: only once its launcher runs.
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
    // Asks where the bus is, as any program may, which starts it when it
    // is not running; then waits until it runs as found() does.
    bool request() {
        ask(address, "org.a11y.Bus", "/org/a11y/bus", "org.a11y.Bus.GetAddress");
        return found();
    }
    // Ends the registry of the accessibility bus as a crash would; the next
    // program that asks for it starts it again.
    bool endRegistry() { return end(accessibilityAddress, "org.a11y.atspi.Registry", SIGKILL); }
    // Stops the launcher of the accessibility bus started on request, and
    // with it the bus; the next program that asks for it starts both again.
    bool endLauncher() { return end(address, "org.a11y.Bus", SIGTERM); }
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
    // Ends the accessibility bus started with the session and everything it
    // started, as a crashed or disabled one would; the session bus stays.
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
    bool end(const QString& bus, const QString& name, int signal) {
        const qint64 pid = ownerOf(bus, name);
        return pid > 0 && ::kill(pid_t(pid), signal) == 0 &&
               waitFor([&] { return !hasOwner(bus, name); }, patience);
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

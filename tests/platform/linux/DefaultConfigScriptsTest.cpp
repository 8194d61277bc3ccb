// The factory scripts that show something, run for real: on a private session
// bus where this test plays the media player and the desktop's notification
// service, with nothing on the path but the basic tools, the bus client and
// the tools of one desktop. A script that needed anything else fails here.

#include "model/DefaultConfig.h"
#include "platform/linux/BusResponder.h"
#include "platform/linux/DesktopApplication.h"
#include "platform/linux/PrivateSessionBus.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusVariant>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace rondelix {
namespace {

using Responder = testing::BusResponder;

class DefaultConfigScriptsTest : public ::testing::Test {
  protected:
    static constexpr const char* playerName = "org.mpris.MediaPlayer2.standin";

    void SetUp() override {
        if (!testing::desktopApplication()) GTEST_SKIP() << "needs the X server the test script starts";
        ASSERT_TRUE(bus.up());
        desktop = std::make_unique<QDBusConnection>(QDBusConnection::connectToBus(bus.address, "desktop"));
        ASSERT_TRUE(desktop->registerService("org.freedesktop.Notifications"));
        ASSERT_TRUE(desktop->registerVirtualObject("/org/freedesktop/Notifications", &notifications));
        ASSERT_TRUE(desktop->registerVirtualObject("/org/mpris/MediaPlayer2", &player));
    }
    void TearDown() override {
        desktop.reset();
        QDBusConnection::disconnectFromBus("desktop");
    }
    void record(const QStringList& words) {
        QFile file(folder.filePath("shown"));
        ASSERT_TRUE(file.open(QIODevice::Append));
        file.write((words.join('|') + '\n').toUtf8());
    }
    std::string shown() const {
        QFile file(folder.filePath("shown"));
        return file.open(QIODevice::ReadOnly) ? file.readAll().toStdString() : std::string();
    }
    // A folder for the path holding the basic tools, the bus client and the
    // named tools: gdbus is the real one, the others stand-ins that record
    // how they were called.
    QString pathWith(const std::vector<std::string>& tools) {
        const QString bin = folder.filePath("bin-" + QString::number(++paths));
        QDir().mkpath(bin);
        for (const char* basic : {"dbus-send", "grep", "sed", "head"})
            QFile::link("/usr/bin/" + QString(basic), bin + "/" + basic);
        for (const auto& tool : tools) {
            const QString file = bin + "/" + QString::fromStdString(tool);
            if (tool == "gdbus") {
                QFile::link("/usr/bin/gdbus", file);
                continue;
            }
            QFile standIn(file);
            EXPECT_TRUE(standIn.open(QIODevice::WriteOnly));
            standIn.write(("#!/bin/sh\n{ printf %s \"${0##*/}\"; printf '|%s' \"$@\"; echo; } >> '" +
                           folder.filePath("shown") + "'\n")
                              .toUtf8());
            standIn.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        }
        return bin;
    }
    // Runs the script as the shell of a script slice does; answers its exit status.
    int run(const std::string& script, const QString& path) {
        QProcess shell;
        QProcessEnvironment environment;
        environment.insert("PATH", path);
        environment.insert("DBUS_SESSION_BUS_ADDRESS", bus.address);
        shell.setProcessEnvironment(environment);
        shell.start("/bin/bash", {"-c", QString::fromStdString(script)});
        // The bus calls come back to this process while the script waits.
        EXPECT_TRUE(testing::untilWithEvents([&] { return shell.state() == QProcess::NotRunning; }))
            << script;
        return shell.exitStatus() == QProcess::NormalExit ? shell.exitCode() : -1;
    }

    testing::PrivateSessionBus bus;
    QTemporaryDir folder;
    std::unique_ptr<QDBusConnection> desktop;
    int paths = 0;
    Responder notifications{"org.freedesktop.Notifications", "Notify", [this](const QVariantList& a) {
                                record({"Notify", a.value(3).toString(), a.value(4).toString()});
                                return QVariant::fromValue(1u);
                            }};
    Responder player{"org.freedesktop.DBus.Properties", "Get", [](const QVariantList&) {
                         const QVariantMap metadata{
                             {"mpris:trackid", QVariant::fromValue(QDBusObjectPath("/track/1"))},
                             {"xesam:title", "Don't \"Stop\""},
                             {"xesam:artist", QStringList{"The Stand-Ins", "Guests"}},
                         };
                         return QVariant::fromValue(QDBusVariant(metadata));
                     }};
};

TEST_F(DefaultConfigScriptsTest, ShowTheirNotificationThroughTheFirstInstalledToolOrFail) {
    const std::string song = "Don't \"Stop\"|The Stand-Ins";
    const std::string hi = "Rondelix|Actions can run any shell command.";
    const struct {
        std::string script;
        bool playing;
        std::vector<std::string> tools;
        std::string shown;
        int status;
    } cases[] = {
        {DefaultConfig::currentSongScript(),
         true,
         {"notify-send", "gdbus", "zenity"},
         "notify-send|--app-name=Rondelix|" + song,
         0},
        {DefaultConfig::currentSongScript(), true, {"gdbus", "kdialog", "zenity"}, "Notify|" + song, 0},
        {DefaultConfig::currentSongScript(),
         true,
         {"kdialog", "zenity"},
         "kdialog|--title|Don't \"Stop\"|--passivepopup|The Stand-Ins|5",
         0},
        {DefaultConfig::currentSongScript(),
         true,
         {"zenity"},
         "zenity|--notification|--text=Don't \"Stop\": The Stand-Ins",
         0},
        {DefaultConfig::currentSongScript(), false, {"notify-send"}, "", 1},
        {DefaultConfig::sayHiScript(), false, {"spd-say", "espeak", "gdbus"}, "spd-say|hi\nNotify|" + hi, 0},
        {DefaultConfig::sayHiScript(),
         false,
         {"espeak", "kdialog"},
         "espeak|hi\nkdialog|--title|Rondelix|--passivepopup|Actions can run any shell command.|5",
         0},
        {DefaultConfig::sayHiScript(), false, {}, "", 127},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.shown);
        QFile::remove(folder.filePath("shown"));
        if (c.playing)
            ASSERT_TRUE(desktop->registerService(playerName));
        else
            desktop->unregisterService(playerName);
        EXPECT_EQ(run(c.script, pathWith(c.tools)), c.status);
        EXPECT_EQ(shown(), c.shown.empty() ? "" : c.shown + "\n");
    }
}

} // namespace
} // namespace rondelix

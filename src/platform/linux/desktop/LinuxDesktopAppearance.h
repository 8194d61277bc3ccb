#pragma once

#include "platform/DesktopAppearance.h"
#include "platform/linux/desktop/AppearanceReading.h"

#include <QDBusConnection>
#include <QFileSystemWatcher>
#include <QObject>
#include <QVariant>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <utility>

class QDBusMessage;
class QDBusPendingCallWatcher;
class QDBusServiceWatcher;

namespace rondelix::platform {
class Log;
}

namespace rondelix::platform::linux_desktop {

class X11ManagerProperty;

// The desktop's appearance settings from the settings portal where one runs
// (it speaks for every desktop that has one), else from the desktop's own:
// kdeglobals on KDE, and the settings daemon's X settings (the GTK theme and
// its animations) that GNOME, MATE, Xfce and Cinnamon publish. Each is
// followed live: the portal's change signal, the file, the X property.
class LinuxDesktopAppearance final : public QObject, public DesktopAppearance {
    Q_OBJECT

  public:
    struct Sources {
        QDBusConnection bus;
        // XDG_CURRENT_DESKTOP, a colon-separated list.
        std::string desktop;
        std::filesystem::path kdeGlobals;
    };
    // The session's own: its bus, its desktop, the user's kdeglobals.
    static Sources sessionSources();

    LinuxDesktopAppearance(Log& log, Sources sources);
    ~LinuxDesktopAppearance() override;

    AppearanceSettings settings() const override { return settings_; }

  private slots:
    void portalSettingChanged(const QDBusMessage& message);

  private:
    void readPortal();
    void portalAnswered(QDBusPendingCallWatcher* call);
    void readKdeGlobals();
    void readXSettings();
    void update();

    Log& log_;
    Sources sources_;
    std::map<std::pair<QString, QString>, QVariant> portalValues_;
    AppearanceReading portal_;
    AppearanceReading kde_;
    AppearanceReading xsettings_;
    AppearanceSettings settings_;
    std::unique_ptr<QDBusServiceWatcher> portalWatcher_;
    QFileSystemWatcher kdeWatcher_;
    std::unique_ptr<X11ManagerProperty> xsettingsProperty_;
    bool loggedPortalFailure_ = false;
};

} // namespace rondelix::platform::linux_desktop

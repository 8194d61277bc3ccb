#pragma once

#include <QDBusConnection>
#include <QObject>
#include <functional>
#include <optional>

class QDBusPendingCallWatcher;
class QDBusVariant;

namespace rondelix::platform::linux_desktop {

// Whether Xfce's panel is in its own dark mode, which draws the panel dark
// whatever the theme and which the panel's tray does not tell its icons:
// it goes on publishing the colours it had. Read from the settings store
// and followed; none off Xfce or before the store answered.
class XfcePanelDarkMode final : public QObject {
    Q_OBJECT

  public:
    XfcePanelDarkMode(QDBusConnection bus, std::function<void()> changed);

    std::optional<bool> darkMode() const { return darkMode_; }

  private slots:
    void propertyChanged(const QString& channel, const QString& property, const QDBusVariant& value);

  private:
    void answered(QDBusPendingCallWatcher* call);
    void set(std::optional<bool> dark);

    QDBusConnection bus_;
    std::function<void()> changed_;
    std::optional<bool> darkMode_;
};

} // namespace rondelix::platform::linux_desktop

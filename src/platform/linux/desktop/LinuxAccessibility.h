#pragma once

#include "platform/Accessibility.h"
#include "platform/Log.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QObject>
#include <QString>
#include <optional>

namespace rondelix::platform::linux_desktop {

// Reads the focused element of other programs from the desktop's
// accessibility bus. The element is remembered from the focus changes
// programs announce, so a summon never has to search the desktop's tree; it
// only asks that one element where its caret is. Without the bus every lookup
// answers none at once, which the log says once.
class LinuxAccessibility final : public QObject, public Accessibility {
    Q_OBJECT

  public:
    explicit LinuxAccessibility(Log& log);

    // Finds the accessibility bus and listens for focus changes on it. The
    // answer comes back on the main queue later; until then every lookup
    // answers none.
    void connectBus();

    void setMessagingTimeout(double seconds) override;
    std::unique_ptr<AccessibleElement> focusedElement() override;

  private slots:
    void stateChanged(const QDBusMessage& message);

  private:
    // Listens on the accessibility bus at `address`; empty: there is none.
    void listenOn(const QString& address);

    Log& log_;
    std::optional<QDBusConnection> bus_;
    QString focusedService_;
    QString focusedPath_;
    int timeoutMs_ = 50;
};

} // namespace rondelix::platform::linux_desktop

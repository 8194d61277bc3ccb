#pragma once

#include "platform/Accessibility.h"
#include "platform/Log.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QObject>
#include <QString>
#include <optional>

class QDBusServiceWatcher;

namespace rondelix::platform::linux_desktop {

// Reads the focused element of other programs from the desktop's
// accessibility bus. The element is remembered from the focus changes
// programs announce, so a summon never has to search the desktop's tree; it
// only asks that one element whether it still has the focus and where its
// caret is. Without the bus every lookup answers none at once, which the log
// says once.
class LinuxAccessibility final : public QObject, public Accessibility {
    Q_OBJECT

  public:
    explicit LinuxAccessibility(Log& log);

    // Finds the accessibility bus and listens for focus changes on it, now
    // and each time the desktop starts it, or its registry, anew. Answers
    // come back on the main queue later; until then every lookup answers
    // none.
    void connectBus();

    void setMessagingTimeout(double seconds) override;
    std::unique_ptr<AccessibleElement> focusedElement() override;

  private slots:
    void stateChanged(const QDBusMessage& message);

  private:
    // Asks the session bus where the accessibility bus is.
    void lookUp();
    // Listens on the accessibility bus at `address` unless it does already;
    // empty: there is none.
    void listenOn(const QString& address);
    // Programs only announce the events someone has asked the registry for.
    void askForFocusChanges();
    // Logs `line` once until the bus is found again.
    void tellMissing(const char* line);
    // Which program the focused element lives in, asked of the bus.
    void learnFocusedProcess(const QString& service);

    Log& log_;
    std::optional<QDBusConnection> bus_;
    QString address_;
    QDBusServiceWatcher* registryWatcher_ = nullptr;
    bool toldMissing_ = false;
    QString focusedService_;
    QString focusedPath_;
    std::optional<long> focusedProcess_;
    int timeoutMs_ = 50;
};

} // namespace rondelix::platform::linux_desktop

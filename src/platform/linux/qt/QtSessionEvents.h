#pragma once

#include "platform/SessionEvents.h"

#include <QObject>
#include <map>
#include <optional>

namespace rondelix::platform {
class Log;
}

namespace rondelix::platform::linux_desktop {

// Activation from Qt's application state; the rest from the desktop's D-Bus
// signals: logind's end of sleep and session unlock on the system bus, the
// screen saver's end on the session bus. A bus that is not there is logged
// once and its notices never come; the program carries on.
class QtSessionEvents final : public QObject, public SessionEvents {
    Q_OBJECT

  public:
    explicit QtSessionEvents(Log& log);

    // Connects to the system and session buses for their notices: once the
    // program hears its summon keys, since connecting waits on both.
    void connectBuses();

    Token observeActivation(std::function<void()> handler) override;
    Token observe(Notice notice, std::function<void()> handler) override;
    void remove(Token token) override;

  private slots:
    void prepareForSleep(bool start);
    void sessionUnlocked();
    void screenSaverActiveChanged(bool active);

  private:
    struct Observer {
        std::optional<Notice> notice;
        std::function<void()> handler;
    };

    void deliver(std::optional<Notice> notice);

    Log& log_;
    std::map<Token, Observer> observers_;
    Token lastToken_ = 0;
};

} // namespace rondelix::platform::linux_desktop

#include "platform/linux/qt/QtSessionEvents.h"

#include "platform/Log.h"

#include <QDBusConnection>
#include <QGuiApplication>

namespace rondelix::platform::linux_desktop {

QtSessionEvents::QtSessionEvents(Log& log) : log_(log) {
    connect(qGuiApp, &QGuiApplication::applicationStateChanged, this, [this](Qt::ApplicationState state) {
        if (state == Qt::ApplicationActive) deliver(std::nullopt);
    });
}

void QtSessionEvents::connectBuses() {
    QDBusConnection system = QDBusConnection::systemBus();
    if (system.isConnected()) {
        system.connect("org.freedesktop.login1", "/org/freedesktop/login1", "org.freedesktop.login1.Manager",
                       "PrepareForSleep", this, SLOT(prepareForSleep(bool)));
        // Any session's unlock: only ours is delivered to us in practice, and an
        // extra listen-tap rebuild costs nothing.
        system.connect("org.freedesktop.login1", "", "org.freedesktop.login1.Session", "Unlock", this,
                       SLOT(sessionUnlocked()));
    } else {
        log_.write("no system D-Bus — wake and unlock notices are unavailable.");
    }

    QDBusConnection session = QDBusConnection::sessionBus();
    if (session.isConnected()) {
        for (const char* interface : {"org.freedesktop.ScreenSaver", "org.gnome.ScreenSaver",
                                      "org.mate.ScreenSaver", "org.cinnamon.ScreenSaver"})
            session.connect("", "", interface, "ActiveChanged", this, SLOT(screenSaverActiveChanged(bool)));
    } else {
        log_.write("no session D-Bus — screen-saver notices are unavailable.");
    }
}

SessionEvents::Token QtSessionEvents::observeActivation(std::function<void()> handler) {
    observers_[++lastToken_] = {std::nullopt, std::move(handler)};
    return lastToken_;
}

SessionEvents::Token QtSessionEvents::observe(Notice notice, std::function<void()> handler) {
    observers_[++lastToken_] = {notice, std::move(handler)};
    return lastToken_;
}

void QtSessionEvents::remove(Token token) {
    observers_.erase(token);
}

void QtSessionEvents::deliver(std::optional<Notice> notice) {
    const auto snapshot = observers_;
    for (const auto& [token, observer] : snapshot)
        if (observer.notice == notice && observers_.count(token)) observer.handler();
}

void QtSessionEvents::prepareForSleep(bool start) {
    if (!start) deliver(Notice::didWake);
}

void QtSessionEvents::sessionUnlocked() {
    deliver(Notice::screenIsUnlocked);
}

void QtSessionEvents::screenSaverActiveChanged(bool active) {
    if (!active) deliver(Notice::screenSaverDidStop);
}

} // namespace rondelix::platform::linux_desktop

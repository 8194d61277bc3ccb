#pragma once

#include <QAbstractNativeEventFilter>
#include <QObject>
#include <functional>
#include <vector>

namespace rondelix::platform::linux_desktop {

// Runs work once the window-system events already on their way to the
// program have been handled: keys typed just before a quit reach their
// fields before the quit saves. The X server answers a message the program
// sends itself after every event it queued for it before; the work runs once
// that message is back and the events ahead of it have gone to their
// windows. Without an X server the work runs on the next turn of the loop.
class X11QueuedEvents final : public QAbstractNativeEventFilter {
  public:
    X11QueuedEvents();
    ~X11QueuedEvents() override;
    X11QueuedEvents(const X11QueuedEvents&) = delete;
    X11QueuedEvents& operator=(const X11QueuedEvents&) = delete;

    // `then` runs on the event loop's thread; a few seconds after the call
    // at the latest, should the X server not answer.
    void handleThen(std::function<void()> then);

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

  private:
    void runWaiting();

    unsigned window_ = 0;
    unsigned marker_ = 0;
    std::vector<std::function<void()>> waiting_;
    // What its timers run in: they end with it.
    QObject timers_;
};

} // namespace rondelix::platform::linux_desktop

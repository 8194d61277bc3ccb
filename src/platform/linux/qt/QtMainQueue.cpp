#include "platform/linux/qt/QtMainQueue.h"

#include <QMetaObject>
#include <QTimer>
#include <cmath>

namespace rondelix::platform::linux_desktop {

QtMainQueue::QtMainQueue() : context_(new QObject) {
    clock_.start();
}

QtMainQueue::~QtMainQueue() {
    delete context_;
}

void QtMainQueue::post(std::function<void()> fn) {
    // Queued invocation is safe from any thread and keeps posting order.
    QMetaObject::invokeMethod(context_, std::move(fn), Qt::QueuedConnection);
}

Cancel QtMainQueue::after(double seconds, std::function<void()> fn) {
    auto cancelled = std::make_shared<bool>(false);
    const int ms = static_cast<int>(std::lround(std::max(0.0, seconds) * 1000.0));
    QTimer::singleShot(ms, context_, [cancelled, fn = std::move(fn)] {
        if (!*cancelled) fn();
    });
    return Cancel(cancelled);
}

double QtMainQueue::now() const {
    return static_cast<double>(clock_.nsecsElapsed()) / 1e9;
}

} // namespace rondelix::platform::linux_desktop

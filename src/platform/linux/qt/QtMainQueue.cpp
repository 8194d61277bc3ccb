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
    QMetaObject::invokeMethod(
        context_,
        [this, fn = std::move(fn)] {
            first_.runAll();
            fn();
        },
        Qt::QueuedConnection);
}

void QtMainQueue::postFirst(std::function<void()> fn) {
    first_.add(std::move(fn));
    // Runs it when nothing ordinary comes first; an ordinary step that
    // comes first runs it before itself, and this one then finds it gone.
    QMetaObject::invokeMethod(
        context_, [this] { first_.runAll(); }, Qt::QueuedConnection);
}

Cancel QtMainQueue::after(double seconds, std::function<void()> fn) {
    auto cancelled = std::make_shared<bool>(false);
    const int ms = static_cast<int>(std::lround(std::max(0.0, seconds) * 1000.0));
    QTimer::singleShot(ms, context_, [this, cancelled, fn = std::move(fn)] {
        first_.runAll();
        if (!*cancelled) fn();
    });
    return Cancel(cancelled);
}

double QtMainQueue::now() const {
    return static_cast<double>(clock_.nsecsElapsed()) / 1e9;
}

} // namespace rondelix::platform::linux_desktop

#pragma once

#include "platform/MainQueue.h"
#include "platform/linux/process/FirstLane.h"

#include <QElapsedTimer>
#include <QObject>

namespace rondelix::platform::linux_desktop {

// The main queue on Qt's event loop of the thread that built it.
class QtMainQueue final : public MainQueue {
  public:
    QtMainQueue();
    ~QtMainQueue() override;

    void post(std::function<void()> fn) override;
    void postFirst(std::function<void()> fn) override;
    Cancel after(double seconds, std::function<void()> fn) override;
    double now() const override;

  private:
    QObject* context_;
    QElapsedTimer clock_;
    // Every ordinary step runs it before itself.
    FirstLane first_;
};

} // namespace rondelix::platform::linux_desktop

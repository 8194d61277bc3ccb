#pragma once

#include <QAbstractNativeEventFilter>
#include <functional>

namespace rondelix::platform::linux_desktop {

// Tells when a compositor starts or stops on the screen, as it happens: the
// X server reports each change of the compositor selection's owner. Without
// an X server (or its selection-watching extension) nothing is ever told.
class X11CompositorWatch final : public QAbstractNativeEventFilter {
  public:
    explicit X11CompositorWatch(std::function<void(bool running)> changed);
    ~X11CompositorWatch() override;
    X11CompositorWatch(const X11CompositorWatch&) = delete;
    X11CompositorWatch& operator=(const X11CompositorWatch&) = delete;

    bool running() const { return running_; }

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

  private:
    std::function<void(bool)> changed_;
    int notifyEvent_ = -1;
    bool running_ = false;
};

} // namespace rondelix::platform::linux_desktop

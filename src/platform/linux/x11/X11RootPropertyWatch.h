#pragma once

#include <QAbstractNativeEventFilter>
#include <functional>
#include <vector>

namespace rondelix::platform::linux_desktop {

// Tells when any of the named properties of the root window is set, changed
// or removed, as the X server reports it. Without an X server nothing is
// ever told.
class X11RootPropertyWatch final : public QAbstractNativeEventFilter {
  public:
    X11RootPropertyWatch(const std::vector<const char*>& names, std::function<void()> changed);
    ~X11RootPropertyWatch() override;
    X11RootPropertyWatch(const X11RootPropertyWatch&) = delete;
    X11RootPropertyWatch& operator=(const X11RootPropertyWatch&) = delete;

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

  private:
    std::function<void()> changed_;
    unsigned long root_ = 0;
    std::vector<unsigned long> atoms_;
};

} // namespace rondelix::platform::linux_desktop

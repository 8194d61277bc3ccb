#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class QSocketNotifier;
struct xcb_connection_t;

namespace rondelix::platform::linux_desktop {

// A property that a desktop service publishes on the window owning its
// manager selection, as the system tray ("_NET_SYSTEM_TRAY_S0",
// "_NET_SYSTEM_TRAY_COLORS") and the settings daemon ("_XSETTINGS_S0",
// "_XSETTINGS_SETTINGS") do. It reads the property and tells when it
// changes, when a new service takes the selection over and when the service
// goes. It listens on an X connection of its own: the toolkit sets its own
// event masks on the tray's window, which would replace this one's on a
// shared connection. Without X11 it reads nothing and never tells.
class X11ManagerProperty final {
  public:
    struct Value {
        int format = 0; // 8, 16 or 32 bits an item
        std::vector<std::uint8_t> bytes;
    };

    // The selection's name takes the default screen's number at its end.
    X11ManagerProperty(const std::string& selectionPrefix, const std::string& property,
                       std::function<void()> changed);
    ~X11ManagerProperty();
    X11ManagerProperty(const X11ManagerProperty&) = delete;
    X11ManagerProperty& operator=(const X11ManagerProperty&) = delete;

    // None when nobody owns the selection or the property is not set.
    std::optional<Value> read();

  private:
    void followOwner();
    void handleEvents();

    xcb_connection_t* connection_ = nullptr;
    std::unique_ptr<QSocketNotifier> notifier_;
    std::uint32_t selection_ = 0;
    std::uint32_t property_ = 0;
    std::uint32_t manager_ = 0;
    std::uint32_t owner_ = 0;
    std::function<void()> changed_;
};

} // namespace rondelix::platform::linux_desktop

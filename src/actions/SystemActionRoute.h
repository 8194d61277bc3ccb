#pragma once

#include "model/KeyCombo.h"

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace rondelix {

// How this desktop performs each built-in system action. Every program and
// argument here is fixed text: nothing a user typed ever joins them.
namespace route {

// Runs through the serial system-command queue.
struct Queued {
    std::string program;
    std::vector<std::string> arguments;
    friend bool operator==(const Queued&, const Queued&) = default;
};
// A media or brightness key, pressed and released.
struct MediaKey {
    int keyType;
    friend bool operator==(const MediaKey&, const MediaKey&) = default;
};
// A named automation from the shortcuts folder.
struct Shortcut {
    std::string name;
    // Why the automation the program ships for it does nothing on this
    // desktop; empty where it does something here.
    std::string shippedIdleReason;
    friend bool operator==(const Shortcut&, const Shortcut&) = default;
};
struct Keystroke {
    KeyCombo combo;
    friend bool operator==(const Keystroke&, const Keystroke&) = default;
};
struct OpenHomeFolder {
    friend bool operator==(const OpenHomeFolder&, const OpenHomeFolder&) = default;
};
struct LockScreen {
    friend bool operator==(const LockScreen&, const LockScreen&) = default;
};
struct ToggleWiFi {
    friend bool operator==(const ToggleWiFi&, const ToggleWiFi&) = default;
};
// Nothing on this desktop does it.
struct Unavailable {
    friend bool operator==(const Unavailable&, const Unavailable&) = default;
};

} // namespace route

using SystemActionRoute =
    std::variant<route::Queued, route::MediaKey, route::Shortcut, route::Keystroke, route::OpenHomeFolder,
                 route::LockScreen, route::ToggleWiFi, route::Unavailable>;

// Exact, case-sensitive match on the id; an unknown id is unavailable. Where
// each desktop has its own tool, the current desktop's (its
// XDG_CURRENT_DESKTOP) is tried first, then the others in turn.
SystemActionRoute systemActionRoute(std::string_view id, std::string_view desktop);

// The commands the Wi-Fi toggle runs: the probe prints "enabled" or
// "disabled", the switch takes "on" or "off" as its last argument.
route::Queued wifiProbeCommand();
route::Queued wifiSwitchCommand(bool on);

route::Queued lockScreenCommand(std::string_view desktop);

// Whether the automation of that name is installed just as the program ships it.
using InstalledAsShipped = std::function<bool(std::string_view automationName)>;

// Why the action does nothing on this desktop, read from the same routes that
// run it; nothing when it does something here. Menus show such an action
// greyed with this reason, and a slice that names it still says so when fired.
// An action run by an automation is unavailable where the program's own does
// nothing and is what is installed; one the user changed may do something.
std::optional<std::string> systemActionUnavailableReason(std::string_view id, std::string_view desktop,
                                                         const InstalledAsShipped& asShipped = {});

// Whether the action is one a Linux desktop can have at all. The catalogue
// keeps the others so that stored slices still load, and say they are not
// available when fired, but nothing offers them.
bool systemActionOfferedOnLinux(std::string_view id);

} // namespace rondelix

#include "catalog/SystemAction.h"

#include <nlohmann/json.hpp>

namespace rondelix {

using C = SystemAction::Category;

const std::vector<SystemAction>& SystemAction::all() {
    static const std::vector<SystemAction> actions = {
        {"toggle-dark-mode", "Toggle Dark Mode", "moon.fill", C::displayAppearance},
        {"brightness-up", "Brightness Up", "sun.max.fill", C::displayAppearance},
        {"brightness-down", "Brightness Down", "sun.min", C::displayAppearance},
        {"sleep-display", "Sleep Display", "powersleep", C::displayAppearance},
        {"night-shift", "Toggle Night Light", "moon.stars.fill", C::displayAppearance},
        {"true-tone", "Toggle True Tone", "circle.lefthalf.filled", C::displayAppearance},
        {"toggle-mute", "Mute / Unmute", "speaker.slash.fill", C::soundMedia},
        {"volume-up", "Volume Up", "speaker.wave.3.fill", C::soundMedia},
        {"volume-down", "Volume Down", "speaker.wave.1.fill", C::soundMedia},
        {"media-playpause", "Play / Pause", "playpause.fill", C::soundMedia},
        {"media-next", "Next Track", "forward.fill", C::soundMedia},
        {"media-previous", "Previous Track", "backward.fill", C::soundMedia},
        {"toggle-wifi", "Toggle Wi-Fi", "wifi", C::connectivity},
        {"toggle-bluetooth", "Toggle Bluetooth", "wave.3.right", C::connectivity},
        {"toggle-dnd", "Toggle Do Not Disturb", "moon.zzz", C::connectivity},
        {"toggle-desktop-icons", "Toggle Desktop Icons", "square.grid.2x2.fill", C::desktopFinder},
        {"toggle-hidden-files", "Toggle Hidden Files", "eye.fill", C::desktopFinder},
        {"toggle-file-extensions", "Toggle File Extensions", "textformat", C::desktopFinder},
        {"new-finder-window", "New File Manager Window", "macwindow", C::desktopFinder},
        {"toggle-dock-autohide", "Toggle Dock Auto-Hide", "menubar.rectangle", C::dock},
        {"toggle-dock-magnification", "Toggle Dock Magnification", "plus.magnifyingglass", C::dock},
        {"mission-control", "Window Overview", "square.grid.3x3.fill", C::windowsSpaces},
        {"stage-manager", "Toggle Stage Manager", "rectangle.stack.fill", C::windowsSpaces},
        {"show-desktop", "Show Desktop", "menubar.dock.rectangle", C::windowsSpaces},
        {"minimize-window", "Minimize Window", "minus.square", C::windowsSpaces},
        {"workspace-left", "Workspace to the Left", "arrow.left.square", C::windowsSpaces},
        {"workspace-right", "Workspace to the Right", "arrow.right.square", C::windowsSpaces},
        {"screenshot", "Screenshot", "camera.viewfinder", C::captureInput},
        {"emoji-picker", "Emoji & Symbols", "face.smiling", C::captureInput},
        {"lock-screen", "Lock Screen", "lock.fill", C::system},
        {"log-out", "Log Out", "rectangle.portrait.and.arrow.right", C::system},
        {"open-settings", "Open System Settings", "gearshape.fill", C::system},
    };
    return actions;
}

std::optional<SystemAction> SystemAction::find(std::string_view id) {
    for (const auto& action : all())
        if (action.id == id) return action;
    return std::nullopt;
}

const std::array<C, 8>& SystemAction::allCategories() {
    static const std::array<C, 8> categories = {C::displayAppearance, C::soundMedia, C::connectivity,
                                                C::desktopFinder,     C::dock,       C::windowsSpaces,
                                                C::captureInput,      C::system};
    return categories;
}

std::string_view SystemAction::rawValue(Category category) {
    switch (category) {
    case C::displayAppearance:
        return "Display & Appearance";
    case C::soundMedia:
        return "Sound & Media";
    case C::connectivity:
        return "Connectivity & Focus";
    case C::desktopFinder:
        return "Desktop & Files";
    case C::dock:
        return "Dock";
    case C::windowsSpaces:
        return "Windows & Spaces";
    case C::captureInput:
        return "Capture & Input";
    case C::system:
        return "System";
    }
    return {};
}

std::optional<C> SystemAction::categoryFromRaw(std::string_view raw) {
    for (const auto category : allCategories())
        if (rawValue(category) == raw) return category;
    return std::nullopt;
}

std::optional<SystemAction> SystemAction::decode(const nlohmann::json& json) {
    if (!json.is_object()) return std::nullopt;
    for (const char* key : {"id", "displayName", "symbol", "category"})
        if (!json.contains(key) || !json.at(key).is_string()) return std::nullopt;
    const auto category = categoryFromRaw(json.at("category").get_ref<const std::string&>());
    if (!category) return std::nullopt;
    return SystemAction{json.at("id").get<std::string>(), json.at("displayName").get<std::string>(),
                        json.at("symbol").get<std::string>(), *category};
}

nlohmann::json SystemAction::encode() const {
    return {{"id", id},
            {"displayName", displayName},
            {"symbol", symbol},
            {"category", std::string(rawValue(category))}};
}

} // namespace rondelix

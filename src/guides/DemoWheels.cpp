#include "guides/DemoWheels.h"

#include "model/DefaultConfig.h"

#include <algorithm>

namespace rondelix::DemoWheels {

namespace {

struct Row {
    const char* label;
    Icon icon;
    MacroAction action;
};

Wheel wheel(std::string id, std::string name, int sliceCount, std::vector<Row> rows,
            std::optional<std::string> boundApplication = std::nullopt) {
    Wheel w{std::move(id), std::move(name), sliceCount, {}, std::move(boundApplication)};
    for (std::size_t i = 0; i < rows.size(); ++i)
        w.slices.push_back(Slice{Uuid::generate(), static_cast<int>(i), rows[i].label,
                                 std::move(rows[i].icon), std::move(rows[i].action)});
    return w;
}

// The identifiers are the ones the wheels have always stored; the workspace
// finds each one's counterpart installed on this desktop.
Row app(const char* label, const char* identifier) {
    return {label, Icon::Auto{}, MacroAction::App{identifier, std::nullopt}};
}

Row symbolic(const char* label, const char* symbol, MacroAction action) {
    return {label, Icon::SfSymbol{symbol}, std::move(action)};
}

Row systemAction(const char* label, const char* symbol, const char* actionId) {
    return symbolic(label, symbol, MacroAction::SystemAction{actionId});
}

Row link(const char* label, const char* symbol, std::string url) {
    return symbolic(label, symbol, MacroAction::Url{std::move(url)});
}

MacroAction keystroke(int keyCode, bool primary, bool shift, bool alt) {
    return MacroAction::Keystroke{KeyCombo{keyCode, primary, shift, alt, false}};
}

constexpr const char* cannedReply = "Thanks for reaching out!\n"
                                    "We got your message and will reply within 24 hours.\n"
                                    "- Robin";

} // namespace

bool isDemoId(std::string_view wheelId) {
    return std::find(ids.begin(), ids.end(), wheelId) != ids.end();
}

bool anyDemoWheel(const std::vector<Wheel>& wheels) {
    return std::any_of(wheels.begin(), wheels.end(), [](const Wheel& w) { return isDemoId(w.id); });
}

std::vector<Wheel> make() {
    std::vector<Wheel> wheels;
    wheels.push_back(wheel("demo-apps", "Apps", 8,
                           {app("Mail", "com.apple.mail"), app("Web Browser", "com.apple.Safari"),
                            app("Notes", "com.apple.Notes"), app("Calculator", "com.apple.calculator"),
                            app("Music", "com.apple.Music"), app("Photos", "com.apple.Photos"),
                            app("Terminal", "com.apple.Terminal"), app("Calendar", "com.apple.iCal")}));
    wheels.push_back(wheel("demo-media", "Media", 4,
                           {systemAction("Play / Pause", "playpause.fill", "media-playpause"),
                            systemAction("Next", "forward.fill", "media-next"),
                            systemAction("Mute", "speaker.slash.fill", "toggle-mute"),
                            systemAction("Previous", "backward.fill", "media-previous")}));
    wheels.push_back(wheel("demo-system", "System", 6,
                           {systemAction("Do Not Disturb", "moon.zzz", "toggle-dnd"),
                            systemAction("Dark Mode", "moon.fill", "toggle-dark-mode"),
                            systemAction("Wi-Fi", "wifi", "toggle-wifi"),
                            systemAction("Overview", "square.grid.3x3.fill", "mission-control"),
                            systemAction("Lock Screen", "lock.fill", "lock-screen"),
                            systemAction("Screenshot", "camera.viewfinder", "screenshot")}));
    wheels.push_back(wheel("demo-notes", "Notes", 6,
                           {symbolic("New Note", "square.and.pencil", keystroke(45, true, false, false)),
                            symbolic("Canned Reply", "text.bubble", MacroAction::Text{cannedReply}),
                            symbolic("Checklist", "checklist", keystroke(37, true, true, false)),
                            symbolic("Run Script", "terminal", MacroAction::Script{"echo demo"}),
                            symbolic("Shortcut", "square.2.layers.3d", MacroAction::Shortcut{"Demo"}),
                            symbolic("Table", "tablecells", keystroke(17, true, false, true))},
                           "com.apple.Notes"));
    wheels.push_back(wheel("demo-web", "Web", 6,
                           {link("Docs", "globe", std::string(DefaultConfig::makerSiteUrl)),
                            link("GitHub", "chevron.left.forwardslash.chevron.right", "https://github.com"),
                            link("YouTube", "play.rectangle.fill", "https://www.youtube.com"),
                            link("Reddit", "bubble.left.and.bubble.right", "https://www.reddit.com"),
                            link("Maps", "map", "https://www.openstreetmap.org"),
                            link("Weather", "cloud.sun", "https://www.windy.com")}));
    return wheels;
}

Uuid runId(const std::vector<Wheel>& made) {
    return made.front().slices.front().id;
}

bool carriesRun(const std::vector<Wheel>& wheels, const Uuid& run) {
    return std::any_of(wheels.begin(), wheels.end(), [&run](const Wheel& w) {
        return isDemoId(w.id) &&
               std::any_of(w.slices.begin(), w.slices.end(), [&run](const Slice& s) { return s.id == run; });
    });
}

} // namespace rondelix::DemoWheels
